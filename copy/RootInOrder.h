// Puts the list's copies in a drive's root in the order of the list on the disk, without
// formatting: they go into a folder of the program's own on the drive, and back into the root
// one after another in list order. FAT and exFAT drivers put a name that comes into a folder
// into the first gap that fits, so the copies come back in list order, unless a gap before an
// earlier copy, too small for its name, takes a later copy's shorter one: the order is to be
// read again afterwards. Moves within a volume write no file data. Nothing else in the root is
// touched, and a stop at any point leaves each copy in the root or in that folder, from where
// the next putting in order, or BringBackFromOrderFolder, brings it back.
#pragma once

#include "copy/DriveFiles.h"

#include <functional>

// The folder in the drive's root where copies wait while the root is put in order.
extern const char kOrderFolder[];

// The copies that putting the root in order moves: those of names (the list's copies, in list
// order) that root lists as files, once each, spelled as the root spells them.
std::vector<CString> CopiesToPutInOrder(const std::vector<RootEntry>& root,
                                        const std::vector<CString>& names);

// The question after a run whose copies do not stand in list order on drive, which moves
// nMoves files.
CString AskToPutInOrder(const CString& drive, size_t nMoves);

// What is said when the copies on drive, put in order, still do not stand in it.
CString SayStillOutOfOrder(const CString& drive);
// What is said when the copies left could not come back from the order folder on drive.
CString DescribeLeftInOrderFolder(const CString& drive, const std::vector<CString>& left);

enum class OrderResult {
    kDone,
    kStopped,  // told to stop while copies went out: those that had gone came back
    kFailed,   // a copy could not go out, or the order folder could not be made: those that
               // had gone came back
};

struct OrderOutcome {
    OrderResult result = OrderResult::kDone;
    // Copies that could not come back into the root (it holds another of the name, it has no
    // room, the drive left): they stay in the order folder, which is then shown.
    std::vector<CString> left;
};

// Told after each move of a copy, 2 for each; false, while copies go out, stops them.
using OrderProgress = std::function<bool(const CString& copy, UINT nMove, UINT nMoves)>;

// Moves copies (CopiesToPutInOrder) out of drive's root into the order folder and back in the
// order given; with bFillGaps, the root's gaps are taken by fillers meanwhile (CGapFillers), for
// a root whose gaps put the copies out of order again. What an earlier putting in order left
// in the folder comes back first; where some of it cannot, nothing is moved.
OrderOutcome PutInOrder(const CString& drive, const std::vector<CString>& copies,
                        bool bFillGaps = false, const OrderProgress& progress = nullptr);

// Brings back into drive's root, in the order the folder lists them, the copies a stopped
// putting in order left in the order folder, and removes the folder and the gaps' fillers;
// returns those that could not come back.
std::vector<CString> BringBackFromOrderFolder(const CString& drive);
