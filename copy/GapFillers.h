// Empty files of the program's own that take every gap of a FAT or exFAT root that a copy could
// take. These file systems put a new name into the first gap it fits: a copy moved back into
// the root after a longer one that did not fit a gap takes that gap, and stands before it. With
// the gaps taken, each copy moved back stands after the one before; the fillers then go.
#pragma once

#include "framework/String.h"

#include <vector>

class CGapFillers {
public:
    explicit CGapFillers(const CString& drive) : m_drive(drive) {}
    CGapFillers(const CGapFillers&) = delete;
    CGapFillers& operator=(const CGapFillers&) = delete;
    ~CGapFillers() { Remove(); }

    // Fills the root's gaps, until a filler stands after every other entry on the disk; false
    // where that order cannot be read, or the root takes no further name.
    bool Fill();
    // Removes the fillers made.
    void Remove();

private:
    bool MakeFiller();

    CString m_drive;
    std::vector<CString> m_fillers;
};

// Removes the fillers that a putting in order, cut off, left in drive's root.
void RemoveLeftFillers(const CString& drive);
