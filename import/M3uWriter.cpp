#include "import/M3uWriter.h"

#include "framework/KernelHandle.h"
#include "import/MediaFiles.h"

#include <string>

namespace {

// Writes content to a new file beside the target, then renames it over the target, so that a
// failure on the way leaves whatever file was there untouched.
DWORD ReplaceFileWith(const std::wstring& path, const std::string& content) {
    std::wstring folder = FolderOfPath(path);
    if (folder.empty())
        folder = L".";
    wchar_t temp[MAX_PATH] = L"";
    if (!::GetTempFileNameW(folder.c_str(), L"ovl", 0, temp))
        return ::GetLastError();
    DWORD dwError = 0;
    CHandle hFile(::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (hFile.IsNull()) {
        dwError = ::GetLastError();
    } else {
        DWORD nWritten = 0;
        const DWORD nSize = static_cast<DWORD>(content.size());
        if (!::WriteFile(hFile, content.data(), nSize, &nWritten, nullptr) || nWritten != nSize ||
            !::FlushFileBuffers(hFile))
            dwError = ::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT;
        // Closed before the rename, which an open file would stop.
        hFile.Close();
    }
    if (!dwError &&
        !::MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        dwError = ::GetLastError();
    if (dwError)
        ::DeleteFileW(temp);
    return dwError;
}

bool BreaksLine(wchar_t ch) {
    return ch < L' ' || ch == 0x7F || ch == 0x85 || ch == 0x2028 || ch == 0x2029;
}

// A tag's text may hold line breaks, which would end the line and make the rest an entry.
std::string InfoLine(const M3uInfo& info) {
    std::wstring text = info.text;
    for (wchar_t& ch : text)
        ch = BreaksLine(ch) ? L' ' : ch;
    CString utf8;
    WideToAnsi(text, &utf8, CP_UTF8);
    return "#EXTINF:" + std::to_string(info.nSeconds < 0 ? -1 : info.nSeconds) + "," +
           static_cast<LPCSTR>(utf8) + "\r\n";
}

}  // namespace

DWORD WriteM3uPlaylist(LPCSTR lpszPath, const std::vector<CString>& paths,
                       const std::vector<M3uInfo>& infos) {
    const std::wstring path = AnsiToWide(lpszPath);
    std::string content = IsUtf8PlaylistName(path) ? "" : "\xEF\xBB\xBF";
    content += "#EXTM3U\r\n";
    for (size_t i = 0; i < paths.size(); ++i) {
        const CString& row = paths[i];
        if (i < infos.size() && !infos[i].text.empty())
            content += InfoLine(infos[i]);
        CString utf8;
        WideToAnsi(AnsiToWide(row), &utf8, CP_UTF8);
        content += static_cast<LPCSTR>(utf8);
        content += "\r\n";
    }
    return ReplaceFileWith(path, content);
}
