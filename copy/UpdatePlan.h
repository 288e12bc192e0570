// The plan of a copy onto a drive that holds an earlier one: which files of the root are
// earlier copies of the rows, and the steps that leave the root holding exactly the list's
// copies under their right names: renames instead of copies, and the removal of earlier
// copies that are no longer listed. No step meets a file in its way, and a stop after any
// step leaves each earlier copy under a name that the next plan recognises.
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
    int nRow;               // the row the step is for; -1 for a removal
    CString from;           // kRemove, kRename: the file's name on the drive
    CString to;             // kRename, kCopy: the name it gets
    bool bReplace = false;  // kRename: the name is held by a file that a copy would replace
    bool bTaken = false;    // kCopy: another row's copy has the name: the step fails
};

struct UpdatePlan {
    std::vector<UpdateStep> steps;
    std::vector<CString> names;    // each row's name on the drive
    unsigned nHeld = 0;            // rows whose earlier copy is on the drive
    unsigned nRenamed = 0;         // earlier copies that get renamed
    unsigned nCopied = 0;          // rows that are copied
    std::vector<CString> removed;  // earlier copies no longer listed, in the root's order
};

// Whether a file of the drive is an earlier copy of a source: of the same size, and written
// within 2 s of it (FAT keeps times to 2 s) or an hour off as well (FAT keeps local time, and
// a daylight-saving change lies between).
bool IsEarlierCopyOf(const FileFacts& copy, const FileFacts& source);

// The file name that follows a copy's position: "song.mp3" for "0012_song.mp3"; empty for a
// name that is not digits, "_" and a name.
CString NameAfterPosition(const CString& name);

// The plan for rows, named with their positions when bPrefix is set, on a drive whose root
// lists root. Where the drive keeps its entries in the order they were written
// (bKeepsWriteOrder), rows that could keep their name are renamed away and back as well when
// that puts them in list order. Two rows of one name (without positions) fail as in a copy.
UpdatePlan PlanUpdate(const std::vector<CopyRow>& rows, BOOL bPrefix,
                      const std::vector<RootEntry>& root, bool bKeepsWriteOrder);

// The question before an update of the nRows rows on drive: what the drive holds of them and
// what the plan does, and a second line naming up to five of the copies it removes.
CString DescribeUpdate(const CString& drive, const UpdatePlan& plan, unsigned nRows);
