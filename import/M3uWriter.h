// Saving the playlist as an extended M3U file.
#pragma once

#include "framework/String.h"

#include <string>
#include <vector>

// What players show for a row, from its tags: written before its path as
// "#EXTINF:<seconds>,<text>" when the text is not empty.
struct M3uInfo {
    int nSeconds = -1;  // -1: unknown
    std::wstring text;  // "<artist> - <title>"
};

// Writes the paths as UTF-8, after #EXTM3U, one to a CRLF-ended line, each after its row's
// #EXTINF line where infos has one; a .m3u8 file gets no byte-order mark, any other does, so
// that it is not read as ANSI. The file is replaced only once the new one is written whole.
// Returns 0, or the system's error code.
DWORD WriteM3uPlaylist(LPCSTR lpszPath, const std::vector<CString>& paths,
                       const std::vector<M3uInfo>& infos = {});
