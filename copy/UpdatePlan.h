// The plans a run carries out: Copy Files, a copy of every row; and the update of a drive that
// holds an earlier copy: which files of the root are earlier copies of the rows, and the steps that
// leave the root holding the list's copies under their right names: renames instead of copies, and
// the removal of the program's own copies that are no longer listed. It touches nothing else: it
// removes or replaces only a file that the copy record names as it is, and renames only a row's
// earlier copy, or a file that may be the copy of a row out of reach, out of the way of a row that
// needs its name. No step meets a name it did not plan for: a row whose name a file of the user's
// or a folder holds is given a free name that the next plan recognises, and a stop after any step
// leaves each earlier copy under such a name.
#pragma once

#include "copy/DriveFiles.h"

struct CopyRow {
    CString fileName;  // the name its copy is named after
    CString path;      // of its source
    FileFacts source;  // as the run began
};

struct UpdateStep {
    enum class Kind { kRemove, kRename, kCopy };
    Kind kind;
    int nRow;      // the row the step is for; -1 for a removal, and for a file moved aside that
                   // may be the copy of a row out of reach
    CString from;  // kRemove, kRename: the file's name on the drive
    CString to;    // kRename, kCopy: the name it gets; free when the step comes, unless bReplace
    // kRename, kCopy: the name is held by a copy of the program's own, which the step replaces,
    // a read-only one too.
    bool bReplace = false;
    bool bTaken = false;  // kCopy: an earlier row of the same name has the name: the step fails
    // The step that takes the file in the way out of the name, or -1: when that one failed,
    // this one is not tried and fails too.
    int nAfter = -1;
};

struct UpdatePlan {
    std::vector<UpdateStep> steps;
    std::vector<CString> names;    // each row's name on the drive
    std::vector<CString> held;     // each row's earlier copy as the root names it, or empty
    std::vector<CString> own;      // the root's files that are the program's copies as the update
                                   // begins: recorded, or recognised as a row's earlier copy
    unsigned nHeld = 0;            // rows whose earlier copy is on the drive
    unsigned nRenamed = 0;         // files that get renamed
    unsigned nCopied = 0;          // rows that are copied
    std::vector<CString> removed;  // own copies no longer listed, in the root's order
    // Copy Files: a copy replaces whatever file has its name, as a whole-file copy does; an
    // update replaces only what bReplace says.
    bool bOverwrite = false;
};

// Whether a file of the drive is an earlier copy of a source: of the same size, and written
// within 2 s of it (FAT keeps times to 2 s) or an hour off as well (FAT keeps local time, and
// a daylight-saving change lies between).
bool IsEarlierCopyOf(const FileFacts& copy, const FileFacts& source);

// The file name that follows a copy's position: "song.mp3" for "0012_song.mp3"; empty for a
// name that is not digits, "_" and a name.
CString NameAfterPosition(const CString& name);

// The plan for rows, named with their positions when bPrefix is set, on a drive whose root
// lists root (with its own copies marked). Where the drive keeps its entries in the order they
// were written (bKeepsWriteOrder), rows that could keep their name are renamed away and back
// as well when that puts them in list order. A later row of an earlier one's name (without
// positions) fails as in a copy, and takes no copy with it.
UpdatePlan PlanUpdate(const std::vector<CopyRow>& rows, BOOL bPrefix,
                      const std::vector<RootEntry>& root, bool bKeepsWriteOrder);

// The plan of Copy Files: a copy of every row, named with its position when bPrefix is set,
// where own names the program's copies in the root, which are replaced read-only ones too.
UpdatePlan PlanCopy(const std::vector<CopyRow>& rows, BOOL bPrefix,
                    const std::vector<CString>& own);

// The question before an update of the nRows rows on drive: what the drive holds of them and
// what the plan does, and a second line naming up to five of the copies it removes.
CString DescribeUpdate(const CString& drive, const UpdatePlan& plan, unsigned nRows);
