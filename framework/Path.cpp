#include "framework/Path.h"

#include "framework/CodePage.h"
#include "framework/String.h"

namespace {

// Where the file name starts: past the last backslash or slash, never inside a character.
int FileNameStart(const CString& path, UINT nCodePage) {
    const int nBackslash = ReverseFindChar(path, path.GetLength(), '\\', nCodePage);
    const int nSlash = ReverseFindChar(path, path.GetLength(), '/', nCodePage);
    return (nSlash > nBackslash ? nSlash : nBackslash) + 1;
}

size_t FileNameStart(const std::wstring& path) {
    const size_t nSeparator = path.find_last_of(L"\\/");
    return nSeparator == std::wstring::npos ? 0 : nSeparator + 1;
}

// Asks a GetFullPathNameW-shaped function for its answer, whatever its length.
template <class Call> std::wstring AskForPath(const std::wstring& path, Call call) {
    const DWORD nLength = call(path.c_str(), 0, nullptr);
    if (nLength == 0)
        return path;
    std::wstring answer(nLength, L'\0');
    const DWORD nWritten = call(path.c_str(), nLength, &answer[0]);
    if (nWritten == 0 || nWritten >= nLength)
        return path;
    answer.resize(nWritten);
    return answer;
}

}  // namespace

CString JoinPath(const CString& folder, const CString& name, UINT nCodePage) {
    const int nLength = folder.GetLength();
    if (nLength == 0 || ReverseFindChar(folder, nLength, '\\', nCodePage) == nLength - 1)
        return folder + name;
    return folder + "\\" + name;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.back() == L'\\')
        return folder + name;
    return folder + L"\\" + name;
}

CString FolderOfPath(const CString& path, UINT nCodePage) {
    return path.Left(FileNameStart(path, nCodePage));
}

std::wstring FolderOfPath(const std::wstring& path) { return path.substr(0, FileNameStart(path)); }

CString FileNameOfPath(const CString& path, UINT nCodePage) {
    return path.Mid(FileNameStart(path, nCodePage));
}

std::wstring FileNameOfPath(const std::wstring& path) { return path.substr(FileNameStart(path)); }

CString DriveRoot(const CString& drive) { return drive + "\\"; }

std::wstring DriveOfPath(const std::wstring& path) {
    if (path.compare(0, 2, L"\\\\") != 0)
        return path.substr(0, 2);
    return path.substr(0, path.find(L'\\', path.find(L'\\', 2) + 1));
}

std::wstring ComputerOfPath(const std::wstring& path) {
    if (path.compare(0, 2, L"\\\\") != 0 || path.compare(0, 4, L"\\\\?\\") == 0 ||
        path.compare(0, 4, L"\\\\.\\") == 0)
        return std::wstring();
    return path.substr(2, path.find(L'\\', 2) - 2);
}

std::wstring FullPath(const std::wstring& path) {
    return AskForPath(path, [](LPCWSTR lpszPath, DWORD nSize, LPWSTR lpszAnswer) {
        return ::GetFullPathNameW(lpszPath, nSize, lpszAnswer, nullptr);
    });
}

std::wstring LongPath(const std::wstring& path) {
    return AskForPath(path, [](LPCWSTR lpszPath, DWORD nSize, LPWSTR lpszAnswer) {
        return ::GetLongPathNameW(lpszPath, lpszAnswer, nSize);
    });
}
