// The names in a FAT or exFAT folder's 32-byte entries, taken as they are read from the disk,
// in the order they stand there, and handed on one by one without being kept. Whatever the
// bytes say, each entry costs the same: a long name has at most 20 parts of 13 units (FAT) or
// one set of 17 parts of 15 (exFAT), and parts that do not make a whole name are dropped.
#pragma once

#include <windows.h>

#include <functional>

const size_t kDirectoryEntryBytes = 32;

// Takes a name of the folder; pName holds nLength units for the call alone.
using NameReader = std::function<void(const wchar_t* pName, size_t nLength)>;

// The entries of a FAT12, FAT16 or FAT32 folder: 8.3 entries, each with the long name whose
// parts stand right before it, last part first.
class CFatEntryNames {
public:
    explicit CFatEntryNames(const NameReader& name) : m_name(name) {}
    // Takes the next entry; false once the folder's end is reached.
    bool Add(const BYTE* pEntry);

private:
    static const int kMostParts = 20;  // 20 x 13 units hold the longest name, 255
    static const int kPartUnits = 13;

    const NameReader& m_name;
    wchar_t m_parts[kMostParts][kPartUnits];  // by the part's number, from 1
    int m_nParts = 0;      // of the long name being gathered; 0 while there is none
    int m_nNext = 0;       // the number the next part must have; 0 once the name is whole
    BYTE m_nChecksum = 0;  // of the 8.3 name that the parts belong to
};

// The entries of an exFAT folder: a file's primary entry, its stream extension with the
// name's length, and the name in parts of 15 units.
class CExFatEntryNames {
public:
    explicit CExFatEntryNames(const NameReader& name) : m_name(name) {}
    bool Add(const BYTE* pEntry);

private:
    static const int kMostUnits = 17 * 15;  // 17 parts of 15 units hold the longest name

    const NameReader& m_name;
    wchar_t m_units[kMostUnits];  // of the set being read
    size_t m_nUnits = 0;          // in m_units
    size_t m_nLength = 0;         // the name's length, as its stream extension gives it
    int m_nLeft = 0;              // secondary entries of the set still to come; 0 outside a set
    bool m_bStream = false;       // the set's stream extension came
};
