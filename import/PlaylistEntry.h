// What one entry of a playlist names: a file by its path or file: address, or something on
// the web, which has nothing to copy.
#pragma once

#include <string>

struct PlaylistEntry {
    enum class Kind { kPath, kWebAddress, kInvalid } kind;
    std::wstring path;  // for a path: made absolute, with backslashes
};

// The entry's text, from a playlist at playlistPath (a full path). Relative paths are taken
// from the playlist's folder, one that starts with a single backslash from its drive, and
// "X:name" from X:'s root. A file: address is percent-decoded as UTF-8: file:///C:/x and
// file://C:/x are C:\x, file://server/share/x is \\server\share\x and file:///x/y the playlist
// drive's \x\y; one whose server is no host name is invalid.
PlaylistEntry ParseEntry(const std::wstring& text, const std::wstring& playlistPath);
