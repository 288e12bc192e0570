#include "playlist/M3uPlaylist.h"

#include <windows.h>

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";
// No path is longer: the rest of a longer line is passed over rather than kept.
const size_t kMaxLineBytes = 4096;
const DWORD kReadChunk = 1 << 16;

bool HasM3u8Extension(const std::wstring& path) {
    size_t dot = path.rfind(L'.');
    return dot != std::wstring::npos && path.find_first_of(L"\\/", dot) == std::wstring::npos &&
           ::lstrcmpiW(path.c_str() + dot, L".m3u8") == 0;
}

// The folder part of a path, with its last separator.
template <class String> String FolderOf(const String& path) {
    size_t nSeparator = path.find_last_of(typename String::value_type('\\'));
    size_t nSlash = path.find_last_of(typename String::value_type('/'));
    if (nSeparator == String::npos || (nSlash != String::npos && nSlash > nSeparator))
        nSeparator = nSlash;
    return nSeparator == String::npos ? String() : path.substr(0, nSeparator + 1);
}

// The drive part of a full path: C: or \\server\share.
std::wstring DriveOf(const std::wstring& path) {
    if (path.compare(0, 2, L"\\\\") != 0)
        return path.substr(0, 2);
    return path.substr(0, path.find(L'\\', path.find(L'\\', 2) + 1));
}

// An entry made absolute: a relative one from the playlist's folder, one that starts with a
// single backslash from that folder's drive, "X:name" from X:'s root; ".." and "." worked out.
std::wstring Resolve(const std::wstring& entry, const std::wstring& folder) {
    std::wstring joined;
    if (entry.compare(0, 2, L"\\\\") == 0 || (entry.size() > 2 && entry.compare(1, 2, L":\\") == 0))
        joined = entry;
    else if (entry.size() >= 2 && entry[1] == L':')
        joined = entry.substr(0, 2) + L"\\" + entry.substr(2);
    else if (entry[0] == L'\\')
        joined = DriveOf(folder) + entry;
    else
        joined = folder + entry;
    DWORD nLength = ::GetFullPathNameW(joined.c_str(), 0, nullptr, nullptr);
    if (nLength == 0)
        return joined;
    std::wstring full(nLength, L'\0');
    nLength = ::GetFullPathNameW(joined.c_str(), nLength, &full[0], nullptr);
    full.resize(nLength);
    return full;
}

class CEntryReader {
public:
    CEntryReader(const std::wstring& path, ImportResult* pResult)
        : m_folder(FolderOf(path)), m_bUtf8(HasM3u8Extension(path)), m_pResult(pResult) {}

    // Takes the next bytes of the file.
    void Feed(const char* pData, size_t nSize) {
        for (const char* p = pData; p < pData + nSize; ++p) {
            if (*p == '\n' || *p == '\r')
                EndLine();
            else if (m_line.size() < kMaxLineBytes)
                m_line += *p;
            else
                m_bOverlong = true;
        }
    }

    void EndLine() {
        if (m_bFirstLine && m_line.compare(0, 3, kUtf8Bom) == 0) {
            m_line.erase(0, 3);
            m_bUtf8 = true;
        }
        m_bFirstLine = false;
        TakeLine();
        m_line.clear();
        m_bOverlong = false;
    }

private:
    void TakeLine() {
        size_t nFirst = m_line.find_first_not_of(" \t");
        if (nFirst == std::string::npos || m_line[nFirst] == '#')
            return;
        size_t nEnd = m_line.find_last_not_of(" \t") + 1;
        if (m_bOverlong) {
            m_pResult->Skip(SkipReason::kTooLong);
            return;
        }
        if (m_pResult->Full()) {
            m_pResult->Skip(SkipReason::kOverLimit);
            return;
        }
        const char* pText = m_line.data() + nFirst;
        const int nBytes = static_cast<int>(nEnd - nFirst);
        for (int i = 0; i < nBytes; ++i) {
            if (static_cast<unsigned char>(pText[i]) < 0x20 && pText[i] != '\t') {
                m_pResult->Skip(SkipReason::kInvalidText);
                return;
            }
        }
        const UINT nCodePage = m_bUtf8 ? CP_UTF8 : CP_ACP;
        int nWide =
            ::MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, pText, nBytes, nullptr, 0);
        if (nWide <= 0) {
            m_pResult->Skip(SkipReason::kInvalidText);
            return;
        }
        std::wstring entry(nWide, L'\0');
        ::MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, pText, nBytes, &entry[0], nWide);
        for (wchar_t& ch : entry) {
            if (ch == L'/')
                ch = L'\\';
        }
        AddCheckedFile(Resolve(entry, m_folder), m_pResult);
    }

    std::wstring m_folder;  // the playlist's folder, with its last separator
    bool m_bUtf8;           // how the bytes are to be read
    bool m_bFirstLine = true;
    bool m_bOverlong = false;  // the line went past kMaxLineBytes
    std::string m_line;        // the line so far, up to kMaxLineBytes
    ImportResult* m_pResult;
};

std::string ToUtf8(const std::wstring& text) {
    int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
    std::string utf8(nBytes > 0 ? nBytes : 0, '\0');
    if (nBytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0],
                              nBytes, nullptr, nullptr);
    return utf8;
}

// Writes content to a new file beside the target, then renames it over the target, so that a
// failure on the way leaves whatever file was there untouched.
DWORD ReplaceFileWith(LPCSTR lpszPath, const std::string& content) {
    std::string folder = FolderOf(std::string(lpszPath));
    char temp[MAX_PATH] = "";
    if (!::GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "ovl", 0, temp))
        return ::GetLastError();
    DWORD dwError = 0;
    HANDLE hFile = ::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        dwError = ::GetLastError();
    } else {
        DWORD nWritten = 0;
        const DWORD nSize = static_cast<DWORD>(content.size());
        if (!::WriteFile(hFile, content.data(), nSize, &nWritten, nullptr) || nWritten != nSize ||
            !::FlushFileBuffers(hFile))
            dwError = ::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT;
        ::CloseHandle(hFile);
    }
    if (!dwError &&
        !::MoveFileExA(temp, lpszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        dwError = ::GetLastError();
    if (dwError)
        ::DeleteFileA(temp);
    return dwError;
}

}  // namespace

void ReadM3uPlaylist(const std::wstring& path, ImportResult* pResult) {
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    CString ansiPath;
    WideToAnsi(path, &ansiPath);  // for the message only
    if (hFile == INVALID_HANDLE_VALUE) {
        pResult->unreadable.push_back("Cannot read " + ansiPath + ": " +
                                      SystemErrorText(::GetLastError()));
        return;
    }
    CEntryReader reader(path, pResult);
    std::string chunk(kReadChunk, '\0');
    DWORD nRead = 0;
    BOOL bOk;
    while ((bOk = ::ReadFile(hFile, &chunk[0], kReadChunk, &nRead, nullptr)) && nRead > 0)
        reader.Feed(chunk.data(), nRead);
    reader.EndLine();
    if (!bOk)
        pResult->unreadable.push_back("Could not read all of " + ansiPath + ": " +
                                      SystemErrorText(::GetLastError()));
    ::CloseHandle(hFile);
}

DWORD WriteM3uPlaylist(LPCSTR lpszPath, const std::vector<CString>& paths) {
    std::string content = HasM3u8Extension(AnsiToWide(lpszPath)) ? "" : kUtf8Bom;
    content += "#EXTM3U\r\n";
    for (const CString& path : paths)
        content += ToUtf8(AnsiToWide(path)) + "\r\n";
    return ReplaceFileWith(lpszPath, content);
}
