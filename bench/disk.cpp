// The disk reader on crafted volumes, made as images in the temporary folder: how long reading
// the root's names in disk order takes, against reading as many bytes plainly in pieces of 64
// KiB (the floor), and putting a listing of 1,000 other files in that order. Whatever an image
// holds, each must stay under half a second.
// Usage: bench_disk
#include "bench/support/Stopwatch.h"
#include "copy/DiskDirectory.h"
#include "copy/DriveFiles.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VolumeImage.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kRounds = 5;
const double kTargetSeconds = 0.5;

test::Entries Repeated(const test::Entries& entries, size_t nBytes) {
    test::Entries all;
    all.reserve(nBytes);
    while (all.size() + entries.size() <= nBytes)
        all += entries;
    return all;
}

// The same number of bytes as the root holds, read from the image in pieces of 64 KiB.
double FloorSeconds(HANDLE hImage, size_t nBytes) {
    std::vector<char> piece(64 << 10);
    return bench::TimeOf([&] {
        LARGE_INTEGER start = {};
        ::SetFilePointerEx(hImage, start, nullptr, FILE_BEGIN);
        for (size_t nDone = 0; nDone < nBytes; nDone += piece.size()) {
            DWORD nRead = 0;
            ::ReadFile(hImage, piece.data(), static_cast<DWORD>(piece.size()), &nRead, nullptr);
        }
    });
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    test::Entries part(32, 'x');
    part[0] = 1;  // a long name's first part, never its last
    part[11] = 0x0F;
    const std::wstring longest(255, L'n');
    const struct {
        const char* label;
        test::Volume volume;
    } images[] = {
        {"FAT32, 65,536 long-name parts without their last one (2 MiB)",
         {test::VolumeKind::kFat32, 2097152, 8, Repeated(part, 2 << 20)}},
        {"FAT32, names of 255 units in 20 parts each (2 MiB)",
         {test::VolumeKind::kFat32, 2097152, 8,
          Repeated(test::FatEntry("NNNNNN~1MP3", longest), 2 << 20)}},
        {"FAT32, a root chain of 8.3 names that comes back to its start",
         {test::VolumeKind::kFat32, 2097152, 8, Repeated(test::FatEntry("A       MP3"), 4096), 512,
          true}},
        {"exFAT, names of 255 units (256 MiB, 4 KiB clusters)",
         {test::VolumeKind::kExFat, 2097152, 8, Repeated(test::ExFatEntry(longest), 256 << 20)}},
        {"exFAT, names of 15 units (256 MiB, 512-byte clusters)",
         {test::VolumeKind::kExFat, 2097152, 1,
          Repeated(test::ExFatEntry(L"name of 15 unit"), 256 << 20)}},
        {"exFAT, names as long as the listed ones (256 MiB, 512-byte clusters)",
         {test::VolumeKind::kExFat, 2097152, 1,
          Repeated(test::ExFatEntry(L"other0000.mp3"), 256 << 20)}},
        {"exFAT, the same beyond ASCII",
         {test::VolumeKind::kExFat, 2097152, 1,
          Repeated(test::ExFatEntry(L"\u00C4ther0000.mp3"), 256 << 20)}},
    };
    test::TempFolder folder("bench-disk");
    const std::string path = folder.PathOf("volume.img");
    std::printf("The root of a crafted volume read in disk order, best of %d\n", kRounds);
    for (const auto& image : images) {
        if (!test::WriteVolume(path, image.volume)) {
            std::printf("FAILED: could not write the image of %s\n", image.label);
            return 1;
        }
        const CHandle hImage(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
        std::vector<double> reads, lists, floors;
        size_t nNames = 0;
        bool bRead = false;
        for (int round = 0; round < kRounds; ++round) {
            floors.push_back(FloorSeconds(hImage, image.volume.root.size()));
            nNames = 0;
            reads.push_back(bench::TimeOf([&] {
                CDiskDirectory(hImage).RootOrder([&](const wchar_t*, size_t) { ++nNames; });
            }));
            std::vector<RootEntry> listing(1000);
            for (size_t i = 0; i < listing.size(); ++i)
                listing[i].name.Format("track%04u.mp3", static_cast<unsigned>(i));
            lists.push_back(
                bench::TimeOf([&] { bRead = SortByDiskOrder(CDiskDirectory(hImage), &listing); }));
        }
        const double read = bench::Best(reads), list = bench::Best(lists);
        const double floor = bench::Best(floors);
        std::printf("  %s: %s, %u names\n    read %.3f s (median %.3f), %.1fx the floor of %.3f s; "
                    "1,000 files put in its order %.3f s (median %.3f); under %.1f s: %s\n",
                    image.label, bRead ? "read" : "refused", static_cast<unsigned>(nNames), read,
                    bench::Median(reads), floor > 0 ? read / floor : 0.0, floor, list,
                    bench::Median(lists), kTargetSeconds,
                    read < kTargetSeconds && list < kTargetSeconds ? "met" : "MISSED");
    }
    return 0;
}
