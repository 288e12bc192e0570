// Which files the program takes for media files and for playlists, by their names alone.
#pragma once

#include <string>

// The Add Files dialog's filter: its first entry names the media files.
extern const char kMediaFilter[];

// Whether a file name ends in one of the media filter's extensions, in any case.
bool IsMediaFileName(const std::wstring& name);
// Whether a file name ends in .m3u or .m3u8, in any case.
bool IsPlaylistFileName(const std::wstring& name);
// Whether a file name ends in .m3u8, the playlist that is UTF-8 by its name.
bool IsUtf8PlaylistName(const std::wstring& name);
