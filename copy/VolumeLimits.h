// What a drive's file system allows a copy: the root of a FAT12 or FAT16 drive holds a fixed
// number of 32-byte entries and a FAT32 folder at most 65,536, names that are not plain
// upper-case 8.3 names take several, and no FAT drive stores a file of 4 GiB or more. And the
// lines that tell the user, before anything is written, what a copy would meet of them and
// of the drive's free space; and whether the drive still holds the volume they were read of.
#pragma once

#include "copy/UpdatePlan.h"

enum class FileSystem { kUnknown, kFat, kFat32, kExFat, kOther };

struct VolumeFacts {
    bool bIdentified = false;  // the system named the volume: its serial, file system and label
    DWORD nSerial = 0;
    FileSystem fileSystem = FileSystem::kUnknown;  // kFat for FAT12 and FAT16
    CString label;
    UINT nRootEntries = 512;  // kFat: what the root holds, by the boot sector where it reads
    bool bFreeKnown = false;  // false where the drive cannot say, or says it holds 0 bytes
    ULONGLONG nFreeBytes = 0;
};

VolumeFacts ReadVolumeFacts(const CString& drive);

// Whether drive holds the volume that facts were read of, and not another that has taken its
// letter since: the same serial number, file system and label, where the system names them.
bool IsSameVolume(const CString& drive, const VolumeFacts& facts);

// The entries of the drive's root, and whether they stand in the order of the disk, which
// players follow: read from the disk itself, or as the system lists a FAT or exFAT drive.
std::vector<RootEntry> ListRootInOrder(const CString& drive, const VolumeFacts& facts,
                                       bool* pOrderKnown);

// Whether a FAT drive, which cannot store files of 4 GiB or more, would refuse this size.
bool IsTooLargeFor(const VolumeFacts& facts, ULONGLONG nBytes);

// The 32-byte entries that a name takes in a FAT folder: 1 for a valid upper-case 8.3 name,
// else 1 and one for every 13 UTF-16 units.
UINT FolderEntriesOf(const CString& name);

// What a run would do to the root: files it copies in, in order, and names it takes away and
// adds by removing and renaming.
struct RootLoad {
    struct Copy {
        CString name;      // on the drive
        CString fileName;  // of the row, to name it
        ULONGLONG nBytes;
    };
    std::vector<Copy> copies;
    std::vector<CString> namesGone;
    std::vector<CString> namesAdded;
    ULONGLONG nBytesFreed = 0;
};

// One line for each limit of the drive that load meets, naming how many files it concerns and
// what lifts it, the free space last; none when the drive takes all of it.
std::vector<CString> LimitsMet(const CString& drive, const VolumeFacts& facts,
                               const std::vector<RootEntry>& root, const RootLoad& load);

// What a plan's steps write and take away; a row whose source is not there writes nothing.
RootLoad LoadOfPlan(const UpdatePlan& plan, const std::vector<CopyRow>& rows,
                    const std::vector<RootEntry>& root);
