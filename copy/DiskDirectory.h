// A FAT12, FAT16, FAT32 or exFAT volume read as the disk holds it, for what the system does not
// say: the size of a FAT12/16 root, and the order of the root's entries on the disk, which is
// the order many players play the files in. Windows lists a FAT root in that order; Wine sorts
// its listing by name. Nothing is ever written.
#pragma once

#include "framework/KernelHandle.h"

#include <string>
#include <vector>

class CDiskDirectory {
public:
    // Reads the boot sector of drive's volume ("E:"); Valid() tells whether it is one of these.
    explicit CDiskDirectory(const char* lpszDrive);
    // The same of a volume or an image of one that is open for reading.
    explicit CDiskDirectory(HANDLE hVolume);

    bool Valid() const { return m_kind != Kind::kNone; }
    // FAT12/16: the entries the root holds; 0 for other kinds.
    UINT RootEntryCount() const { return m_kind == Kind::kFat16 ? m_nRootEntries : 0; }
    // The names of the root's files and folders in the order of their entries on the disk;
    // false when the root cannot be read whole.
    bool RootOrder(std::vector<std::wstring>* pNames) const;

private:
    enum class Kind { kNone, kFat16, kFat32, kExFat };  // kFat16 stands for FAT12 as well

    void ReadBootSector();
    bool Read(ULONGLONG nOffset, void* pBuffer, DWORD nBytes) const;
    // The clusters of a chain in the FAT, from nFirst; false for a broken or endless one.
    bool Chain(DWORD nFirst, std::vector<DWORD>* pClusters) const;
    bool ReadRootBytes(std::vector<BYTE>* pBytes) const;
    static void FatNames(const std::vector<BYTE>& bytes, std::vector<std::wstring>* pNames);
    static void ExFatNames(const std::vector<BYTE>& bytes, std::vector<std::wstring>* pNames);

    CHandle m_hOwned;  // the volume when this opened it
    HANDLE m_hVolume;
    Kind m_kind = Kind::kNone;
    DWORD m_nSectorBytes = 512;
    DWORD m_nClusterBytes = 0;
    ULONGLONG m_nFatOffset = 0;   // of the first FAT, in bytes
    ULONGLONG m_nRootOffset = 0;  // kFat16: of the root folder
    UINT m_nRootEntries = 0;      // kFat16
    ULONGLONG m_nDataOffset = 0;  // of cluster 2
    DWORD m_nClusterCount = 0;
    DWORD m_nRootCluster = 0;  // kFat32, kExFat
};
