// What a copy reads of the files it works with, a source's size and time and the drive's root
// folder as the system lists it (on FAT and exFAT drives in the order of the entries on the
// disk), and the changes an update makes to the root besides copying.
#pragma once

#include "framework/String.h"

#include <vector>

class CDiskDirectory;

struct FileFacts {
    bool bExists = false;
    ULONGLONG nBytes = 0;
    ULONGLONG nWriteTime = 0;  // last written, in 100 ns units since 1601 (a FILETIME)
};

// The facts of a file; bExists is false for what cannot be asked about, and for a folder.
FileFacts ReadFileFacts(LPCSTR lpszPath);

struct RootEntry {
    CString name;
    bool bSpelled = true;  // false when the code page has no spelling of the name: it cannot be
                           // named through the 8-bit functions, nor be a copy of a row
    bool bFolder = false;
    FileFacts facts;
    bool bOwn = false;  // a copy of this program's: the copy record names it as it is
};

// The entries of drive's root ("E:"): in the order of the disk where its volume can be read
// (*pDiskOrder is then true), else in the order the system lists them.
std::vector<RootEntry> ListRoot(const CString& drive, bool* pDiskOrder);
// Puts the entries that the system lists in the order the disk holds them; false, leaving
// them as they are, where it cannot read the whole root.
bool SortByDiskOrder(const CDiskDirectory& disk, std::vector<RootEntry>* pEntries);

// Whether names, in the list's order, stand in that order in the listing root; names it does
// not hold are passed over.
bool StandsInListOrder(const std::vector<RootEntry>& root, const std::vector<CString>& names);

// Renames folder\from to folder\to. A file that has that name is replaced only with
// bReplace, a read-only one too: it is one of the program's own copies.
BOOL RenameInFolder(const CString& folder, const CString& from, const CString& to, bool bReplace);
// Deletes a file, also a read-only one: a copy keeps its source's read-only attribute.
BOOL RemoveFile(const CString& path);
// Takes the read-only attribute from a file, if it has one.
void ClearReadOnly(const CString& path);
// Gives the file at path these times, through an open that shares everything: a scanner or an
// indexer may hold a new file already. Both times: some drivers set neither when one is left.
void SetFileDates(const CString& path, const FILETIME& accessed, const FILETIME& written);
