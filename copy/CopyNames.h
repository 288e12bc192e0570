// The names one copy run gives its files on the device: the list position in front, as wide
// as the longest position so that sorting by name keeps the list's order, and the names the
// run has already filled, so that no copy of the run replaces another.
#pragma once

#include "framework/String.h"

#include <set>
#include <string>
#include <vector>

class CCopyNames {
public:
    // For a run over nRows rows.
    explicit CCopyNames(UINT nRows);

    // The name of row nRow's copy (from 0): with bPrefix its position from 1 in front, three
    // digits at least ("001_song.mp3"; "0001_song.mp3" in a list of 1,000 rows or more),
    // otherwise fileName itself.
    CString Name(UINT nRow, const CString& fileName, BOOL bPrefix) const;
    // TRUE when a copy of this run has already arrived under name, compared as the file
    // system compares names (without regard to case).
    BOOL Filled(const CString& name) const;
    void Fill(const CString& name);

private:
    int m_nDigits;                                  // of every prefix of the run
    std::set<std::wstring, FileNameLess> m_filled;  // the names the run's copies arrived at
};

// Names for a message: the first nShown, then how many more ("a, b, c and 2 more").
CString ListOfNames(const std::vector<CString>& names, size_t nShown);
