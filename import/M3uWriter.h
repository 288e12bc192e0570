// Saving the playlist as an extended M3U file.
#pragma once

#include "framework/String.h"

#include <vector>

// Writes the paths as UTF-8, after #EXTM3U, one to a CRLF-ended line; a .m3u8 file gets no
// byte-order mark, any other does, so that it is not read as ANSI. The file is replaced only
// once the new one is written whole. Returns 0, or the system's error code.
DWORD WriteM3uPlaylist(LPCSTR lpszPath, const std::vector<CString>& paths);
