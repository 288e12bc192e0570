// Playlist files in the extended M3U format, apart from any window.
#pragma once

#include "playlist/PlaylistImport.h"

#include <string>
#include <vector>

// Appends the entries of a playlist file to pResult: a .m3u8 file is UTF-8, any other is in
// the ANSI code page unless it starts with a UTF-8 byte-order mark. Relative paths are taken
// from the playlist's folder; blank, comment and #EXTINF lines are passed over; every other
// line that names no usable file is counted with its reason.
void ReadM3uPlaylist(const std::wstring& path, ImportResult* pResult);

// Writes the paths as UTF-8, after #EXTM3U, one to a CRLF-ended line; a .m3u8 file gets no
// byte-order mark, any other does, so that it is not read as ANSI. The file is replaced only
// once the new one is written whole. Returns 0, or the system's error code.
DWORD WriteM3uPlaylist(LPCSTR lpszPath, const std::vector<CString>& paths);
