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
// drive's \x\y. Text that is not plain text, and a path whose computer is not clearly a host
// name (\\\x, file://///x, a name of words or of marks), are invalid.
PlaylistEntry ParseEntry(const std::wstring& text, const std::wstring& playlistPath);

// The same for a URI reference, as XSPF and ASX write their entries: one with a scheme is an
// address as above; a relative one is percent-decoded and taken as a relative path.
PlaylistEntry ParseReference(const std::wstring& reference, const std::wstring& playlistPath);

// A reference made relative to a base reference instead of the playlist (xml:base): a
// reference with a scheme stays as it is, one that starts with a slash takes the base's
// scheme and computer, any other goes after the base's last slash.
std::wstring ResolveReference(const std::wstring& base, const std::wstring& reference);
