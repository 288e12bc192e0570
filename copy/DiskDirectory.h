// A FAT12, FAT16, FAT32 or exFAT volume read as the disk holds it, for what the system does not
// say: the size of a FAT12/16 root, and the order of the root's entries on the disk, which is
// the order many players play the files in. Windows lists a FAT root in that order; Wine sorts
// its listing by name. Nothing is ever written, and whatever the disk holds, the root is read
// a piece at a time and no further than its file system allows: the entries a FAT12/16 root
// was made with, 65,536 entries of a FAT32 folder, 256 MiB of an exFAT one.
#pragma once

#include "copy/DirectoryEntries.h"
#include "framework/KernelHandle.h"

#include <functional>
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
    // Hands name the names of the root's files and folders in the order of their entries on
    // the disk; false when the root cannot be read whole.
    bool RootOrder(const NameReader& name) const;

private:
    enum class Kind { kNone, kFat16, kFat32, kExFat };  // kFat16 stands for FAT12 as well
    // Takes a folder's next 32-byte entries; false once the folder has ended.
    using EntryReader = std::function<bool(const BYTE* pEntries, size_t nEntries)>;

    void ReadBootSector();
    void ReadFatBootSector(const BYTE* pBoot);
    void ReadExFatBootSector(const BYTE* pBoot);
    bool Read(ULONGLONG nOffset, void* pBuffer, DWORD nBytes) const;
    bool IsCluster(DWORD nCluster) const { return nCluster >= 2 && nCluster - 2 < m_nClusterCount; }
    // The entry of nCluster in the FAT: *pNext, or *pLast for the end of the chain; false for
    // a chain that cannot be followed. The FAT's sector last read stays in *pSector.
    bool NextCluster(DWORD nCluster, std::vector<BYTE>* pSector, ULONGLONG* pSectorAt, DWORD* pNext,
                     bool* pLast) const;
    bool ReadRoot(const EntryReader& entry) const;
    // Hands the entries of nBytes from nOffset to entry, reading through piece; *pEnded when
    // entry saw the folder's end.
    bool ReadEntries(ULONGLONG nOffset, ULONGLONG nBytes, const EntryReader& entry,
                     std::vector<BYTE>* pPiece, bool* pEnded) const;

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
