// The disk reader on raw volumes made from bytes: the root's names in the order of the disk for
// the shapes mkfs gives, and whatever a damaged or crafted root holds, no more than the file
// system allows.
#include "copy/DiskDirectory.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VolumeImage.h"

#include <gtest/gtest.h>

namespace {

using test::Entries;
using test::FatEntry;
using test::VolumeKind;

// A long-name part numbered n, flagged as the last one or not, for an 8.3 name's checksum.
Entries LongNamePart(int n, bool bLast, BYTE nChecksum) {
    Entries part(32, 'x');
    part[0] = static_cast<char>(n | (bLast ? 0x40 : 0));
    part[11] = 0x0F;
    part[13] = static_cast<char>(nChecksum);
    return part;
}

Entries Repeated(const Entries& entries, size_t nTimes) {
    Entries all;
    for (size_t i = 0; i < nTimes; ++i)
        all += entries;
    return all;
}

TEST(DiskDirectory, ReadsTheRootInDiskOrderAndNoFurtherThanItsFileSystemAllows) {
    const Entries deleted = "\xE5" + FatEntry("ONE     MP3").substr(1);
    Entries lowerCase = FatEntry("LOWER   TXT");
    lowerCase[12] = 0x18;  // both parts of the 8.3 name in lower case
    Entries brokenOff = FatEntry("WHOLE~1 MP3", L"the whole name.mp3");
    brokenOff[32 * 2] = static_cast<char>(0xE5);  // its 8.3 entry deleted
    Entries exFatDeleted = test::ExFatEntry(L"gone.mp3");
    for (size_t at = 0; at < exFatDeleted.size(); at += 32)
        exFatDeleted[at] = static_cast<char>(exFatDeleted[at] & 0x7F);
    const std::wstring name260(260, L'n');
    Entries wrongChecksum = FatEntry("CHECK~1 MP3", L"checked.mp3");
    wrongChecksum[13] = static_cast<char>(wrongChecksum[13] + 1);
    Entries fiftyFiles;
    std::string fiftyNames;
    for (int i = 1; i <= 50; ++i) {
        const std::wstring name = L"Song number " + std::to_wstring(i) + L" of the album.mp3";
        fiftyFiles += FatEntry("SONGNU~1MP3", name);
        fiftyNames += (i > 1 ? "|" : "") + std::string(name.begin(), name.end());
    }
    const struct {
        const char* label;
        test::Volume volume;
        const char* names;  // "|" between two; nullptr: the root cannot be read whole
    } cases[] = {
        {"FAT12 as on a floppy: the label, 8.3 names in both cases, a deleted file",
         {VolumeKind::kFat12, 2880, 1,
          FatEntry("PLAYER     ", L"", 0x08) + FatEntry("SONG    MP3") + deleted +
              FatEntry("README     ") + lowerCase,
          224},
         "SONG.MP3|README|lower.txt"},
        {"FAT16 of 64 MiB: long names of 13 and 26 units, one whose 8.3 entry was deleted",
         {VolumeKind::kFat16, 131072, 4,
          FatEntry("ABCDEF~1MP3", L"abcdefghi.mp3") + brokenOff +
              FatEntry("ABCDEF~2MP3", L"abcdefghijklmnopqrstuv.mp3")},
         "abcdefghi.mp3|abcdefghijklmnopqrstuv.mp3"},
        {"FAT16 with a root of 2 entries: nothing after them is read",
         {VolumeKind::kFat16, 131072, 4,
          FatEntry("A       MP3") + FatEntry("B       MP3") + FatEntry("C       MP3"), 2},
         "A.MP3|B.MP3"},
        {"long names of 21 parts, of 260 units, of a wrong checksum: their 8.3 names alone",
         {VolumeKind::kFat16, 131072, 4,
          FatEntry("LONG~1  MP3", std::wstring(21 * 13, L'l')) + FatEntry("LONG~2  MP3", name260) +
              wrongChecksum},
         "LONG~1.MP3|LONG~2.MP3|CHECK~1.MP3"},
        {"FAT32 of 512 MiB, its root over several clusters of 512 bytes",
         {VolumeKind::kFat32, 1048576, 1, fiftyFiles},
         fiftyNames.c_str()},
        {"FAT32 of 40 MiB with 4 KiB clusters: fewer clusters than a FAT16 volume may have",
         {VolumeKind::kFat32, 81920, 8, FatEntry("SMALL   MP3", L"small.mp3")},
         "small.mp3"},
        {"65,536 long-name parts without their last part, the whole FAT32 root",
         {VolumeKind::kFat32, 1048576, 8, Repeated(LongNamePart(1, false, 0), 65536)},
         ""},
        {"a FAT32 root whose chain comes back to its start",
         {VolumeKind::kFat32, 1048576, 8, Repeated(FatEntry("A       MP3"), 128), 512, true},
         nullptr},
        {"exFAT: names of one and of several parts, a deleted file between",
         {VolumeKind::kExFat, 131072, 8,
          test::ExFatEntry(L"a.mp3") + exFatDeleted +
              test::ExFatEntry(L"A name of more than thirty units.mp3")},
         "a.mp3|A name of more than thirty units.mp3"},
        {"a FAT16 boot sector that gives its root no entries",
         {VolumeKind::kFat16, 131072, 4, FatEntry("A       MP3"), 0},
         nullptr},
    };
    test::TempFolder folder("disk");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string path = folder.PathOf("volume.img");
        ASSERT_TRUE(test::WriteVolume(path, c.volume));
        const CHandle hImage(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
        std::wstring joined;
        const bool bRead = CDiskDirectory(hImage).RootOrder([&](const wchar_t* p, size_t n) {
            joined += (joined.empty() ? L"" : L"|") + std::wstring(p, n);
        });
        EXPECT_EQ(bRead, c.names != nullptr);
        if (c.names) {
            EXPECT_EQ(std::string(joined.begin(), joined.end()), c.names);
        }
    }
}

}  // namespace
