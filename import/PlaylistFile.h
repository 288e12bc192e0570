// A playlist file of any kind the program reads, known by what it holds rather than by its
// name, read into the texts of its entries: M3U and M3U8, PLS, WPL and ZPL, XSPF, ASX.
#pragma once

#include "framework/String.h"

#include <functional>
#include <string>

// What one entry's text is, as the file writes it.
enum class EntryText {
    kPath,       // a path or an address: M3U, PLS, WPL and ZPL entries
    kReference,  // a URI reference, relative ones percent-encoded: XSPF and ASX entries
    kInvalid,    // not text in the file's encoding, or not plain text
    kTooLong,    // longer than any entry can be
    kPastLimit,  // past the most entries that one file is read for
};
using EntrySink = std::function<void(EntryText, const std::wstring&)>;

// How the reading of one file ended.
struct PlaylistReading {
    bool bPlaylist = true;  // false: the file is no playlist of a known kind; nothing was read
    CString fault;          // what stopped the reading before the end; empty when nothing did
};

// Calls onEntry for each entry of the open file at path, in the playlist's order. A file
// holding no known kind is read as M3U lines, unless its name says it is another kind.
// nLegacyCodePage reads bytes that are neither marked nor UTF-8 (0: the user's ANSI code page).
PlaylistReading ReadPlaylistFile(HANDLE hFile, const std::wstring& path, UINT nLegacyCodePage,
                                 const EntrySink& onEntry);

// Hands on the text that an entry's markup held, as kind, or as too long or invalid.
void TakeEntryText(EntryText kind, const std::wstring& text, const EntrySink& onEntry);
