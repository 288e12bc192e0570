// The readers of the kinds of playlist beside M3U, each for an open file at its start; the
// playlist file's reader chooses among them by what the file holds.
#pragma once

#include "import/PlaylistFile.h"
#include "import/PlaylistText.h"

// Whether a tag's or an attribute's name is the one expected, in any case.
bool SameNameNoCase(const std::wstring& name, const wchar_t* expected);

// PLS: the FileN= lines, in the order of their numbers. Returns 0, or the error that stopped
// the reading.
DWORD ReadPlsEntries(HANDLE hFile, const PlaylistEncoding& encoding, const EntrySink& onEntry);

// ASX, WAX and WVX: the href of each <ref> (the first of each <entry>, the others being
// stand-ins for it) and of each <entryref>, tag names in any case, read as forgivingly as
// players read what their writers wrote loosely. Returns 0, or the error that stopped it.
DWORD ReadAsxEntries(HANDLE hFile, const PlaylistEncoding& encoding, const EntrySink& onEntry);

// WPL and ZPL (<smil>: the src of each <media>) and XSPF (<playlist>: the first <location>
// of each <track>, under xml:base), read by the system's XML reader, which must find the file
// well-formed; a document type definition is refused, not read.
PlaylistReading ReadXmlEntries(HANDLE hFile, const EntrySink& onEntry);
