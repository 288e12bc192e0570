// Which files the program takes for media files, programs and playlists, by their names alone.
#pragma once

#include <string>

// The Add Files dialog's filter. The user picks from it, or from all files, as the user likes;
// it is not the test of a media file, which knows more kinds.
extern const char kMediaFilter[];

// Whether a file name ends in the extension of a kind of picture, song or video, in any case.
// Only such files become rows from a folder or a playlist.
bool IsMediaFileName(const std::wstring& name);
// Whether a file name ends in the extension of a program or a shortcut, in any case, blanks
// and dots after it included (the system drops those when it opens the file). Such a file
// never becomes a row from a drop: a double-click on its row would run it.
bool IsProgramFileName(const std::wstring& name);

// Whether a file name ends in the extension of a kind of playlist that the program reads.
bool IsPlaylistFileName(const std::wstring& name);
// Whether it ends in .m3u or .m3u8: playlists of lines, which need not say so.
bool IsM3uFileName(const std::wstring& name);
// Whether it ends in .m3u8, the playlist that is UTF-8 by its name.
bool IsUtf8PlaylistName(const std::wstring& name);
// The Open Playlist dialog's filter: every kind of playlist, then all files.
const char* PlaylistFilter();
