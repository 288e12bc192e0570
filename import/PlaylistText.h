// A playlist file's entry lines as UTF-16 text, whatever encoding and line ends its writer
// chose.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// No entry is longer: the rest of a longer line is passed over rather than kept.
const size_t kMaxEntryUnits = 4096;

enum class EntryLine {
    kText,     // an entry, without the blanks and tabs around it
    kInvalid,  // not text in the file's encoding, or not plain text
    kTooLong,  // longer than any entry can be; the rest of it was passed over
};

// Where the text is cut into the pieces that are handed on.
enum class TextCut {
    kLines,  // at line ends; blank lines and comments (#...) are no entries
    kTags,   // after each '>', line ends read as blanks: markup that its writer wrapped freely
};

// How a playlist's bytes are to be read when they carry no byte-order mark.
struct PlaylistEncoding {
    bool bUtf8 = false;  // UTF-8 whatever the bytes are (a .m3u8 file)
    UINT nCodePage = 0;  // otherwise, for bytes that are not UTF-8; 0 for the user's ANSI one
};

// Calls onEntry for each piece of the open file, cut as told, that is not blank, in order.
// A byte-order mark says how the bytes are read (UTF-8, UTF-16 LE or BE); without one, the
// file is UTF-8 when encoding says so, or when all of it is valid UTF-8 and not all ASCII, and
// otherwise in the code page. Lines end with CR, LF or CRLF. Returns 0, or the error that
// stopped the reading.
DWORD ReadEntryLines(HANDLE hFile, const PlaylistEncoding& encoding, TextCut cut,
                     const std::function<void(EntryLine, const std::wstring&)>& onEntry);

// The ANSI code page of the user's locale: what a playlist in no Unicode encoding was most
// likely written in, even where the process itself speaks UTF-8.
UINT UserAnsiCodePage();
