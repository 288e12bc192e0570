// Sort by Tags of 1,000 tagged files (MP3 and FLAC, made here) against reading the first 4 KiB
// of the same files with ReadFile, alternating the two; Undo and Redo of a sort of 10,000 rows;
// and the memory that 100 steps of Undo hold at 65,535 rows.
#include "bench/support/Stopwatch.h"
#include "res/resource.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"
#include "tests/support/TempFolder.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kTaggedFiles = 1000;
const int kRounds = 5;
const double kTagsTarget = 3.0;  // Sort by Tags / the 4 KiB floor
const int kUndoRows = 10000;
const double kUndoTargetSeconds = 0.2;
const int kMemoryRows = 65535;
const int kMemorySteps = 100;
const double kMemoryTargetMb = 64;

// A text frame of ID3v2.4 in UTF-8.
std::string Id3Frame(const char* id, const std::string& text) {
    const size_t nSize = text.size() + 1;
    std::string frame = id;
    for (int shift = 21; shift >= 0; shift -= 7)
        frame += static_cast<char>((nSize >> shift) & 0x7F);
    return frame + std::string("\0\0\3", 3) + text;
}

// An MP3 of 40 silent frames (MPEG-1 layer III, 128 kbit/s, 44.1 kHz) after its ID3v2.4 tag.
std::string Mp3File(const std::string& artist, const std::string& album, int nDisc, int nTrack) {
    std::string frames = Id3Frame("TPE2", artist) + Id3Frame("TPE1", artist) +
                         Id3Frame("TALB", album) + Id3Frame("TPOS", std::to_string(nDisc)) +
                         Id3Frame("TRCK", std::to_string(nTrack)) +
                         Id3Frame("TIT2", "Track " + std::to_string(nTrack));
    std::string file = std::string("ID3\4\0\0", 6);
    for (int shift = 21; shift >= 0; shift -= 7)
        file += static_cast<char>((frames.size() >> shift) & 0x7F);
    file += frames;
    for (int i = 0; i < 40; ++i)
        file += std::string("\xFF\xFB\x90\x00", 4) + std::string(413, '\0');
    return file;
}

// A FLAC stream of 10 s by its STREAMINFO, with a Vorbis comment and a little frame data.
std::string FlacFile(const std::string& artist, const std::string& album, int nDisc, int nTrack) {
    auto le32 = [](size_t n) {
        return std::string{static_cast<char>(n), static_cast<char>(n >> 8),
                           static_cast<char>(n >> 16), static_cast<char>(n >> 24)};
    };
    const std::string comments[] = {"ALBUMARTIST=" + artist,
                                    "ARTIST=" + artist,
                                    "ALBUM=" + album,
                                    "DISCNUMBER=" + std::to_string(nDisc),
                                    "TRACKNUMBER=" + std::to_string(nTrack),
                                    "TITLE=Track " + std::to_string(nTrack)};
    std::string vorbis = le32(5) + "bench" + le32(std::size(comments));
    for (const std::string& comment : comments)
        vorbis += le32(comment.size()) + comment;
    // 4096-sample blocks, 44.1 kHz, 2 channels, 16 bits, 441,000 samples.
    const std::string streamInfo =
        std::string("\x10\x00\x10\x00\x00\x00\x00\x00\x00\x00\x0A\xC4\x42\xF0\x00\x06\xBA\xA8",
                    18) +
        std::string(16, '\0');
    std::string file = "fLaC" + std::string("\x00\x00\x00\x22", 4) + streamInfo;
    file += static_cast<char>(0x84);  // the last block: a Vorbis comment
    file += {static_cast<char>(vorbis.size() >> 16), static_cast<char>(vorbis.size() >> 8),
             static_cast<char>(vorbis.size())};
    return file + vorbis + std::string("\xFF\xF8", 2) + std::string(8000, '\0');
}

// The files in an order that neither their names nor their tags have.
std::vector<CString> MakeTaggedFiles(const test::TempFolder& folder) {
    std::vector<CString> paths;
    for (int i = 0; i < kTaggedFiles; ++i) {
        const int nShuffled = (i * 7919) % kTaggedFiles;
        const std::string artist = "Artist " + std::to_string(nShuffled % 10);
        const std::string album = "Album " + std::to_string(nShuffled % 7);
        const int nDisc = 1 + nShuffled % 2, nTrack = 1 + nShuffled % 50;
        const bool bMp3 = i % 2 == 0;
        const std::string content =
            bMp3 ? Mp3File(artist, album, nDisc, nTrack) : FlacFile(artist, album, nDisc, nTrack);
        const std::string name = "file" + std::to_string(nShuffled) + (bMp3 ? ".mp3" : ".flac");
        paths.push_back(folder.CreateFile(name, content).c_str());
    }
    return paths;
}

double ReadFirstBlocks(const std::vector<CString>& paths) {
    return bench::TimeOf([&] {
        char buffer[4096];
        for (const CString& path : paths) {
            const CHandle hFile(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
            DWORD nRead = 0;
            ::ReadFile(hFile, buffer, sizeof(buffer), &nRead, nullptr);
        }
    });
}

// Sort by Tags in a fresh window, whose cache holds no tags yet; false if the order is wrong.
bool SortByTags(const std::vector<CString>& paths, double* pSeconds) {
    test::PlaylistDlgProbe dlg;
    bool bOk = false;
    test::RunModal(dlg, [&] {
        dlg.AppendEntries(paths);
        *pSeconds = bench::TimeOf([&] { dlg.Command(ID_SORT_BY_TAGS); });
        // Artist 0, Album 0, disc 1, track 1: files 0, 350 and 700, by name.
        bOk = dlg.m_playlist.GetItemText(0, 0).Find("file0.") == 0 &&
              dlg.m_playlist.GetItemText(1, 0).Find("file350.") == 0 &&
              dlg.m_playlist.GetItemText(2, 0).Find("file700.") == 0;
    });
    return bOk;
}

bool TagsAgainstFloor() {
    test::TempFolder folder("bench-tags");
    const std::vector<CString> paths = MakeTaggedFiles(folder);
    ReadFirstBlocks(paths);  // no timed run is the first to fetch the files
    std::vector<double> floors, sorts;
    bool bOk = true;
    for (int round = 0; round < kRounds; ++round) {
        floors.push_back(ReadFirstBlocks(paths));
        double seconds = 0;
        bOk &= SortByTags(paths, &seconds);
        sorts.push_back(seconds);
    }
    const double ratio = bench::Best(sorts) / bench::Best(floors);
    std::printf("Sort by Tags, %d files (MP3 and FLAC): %.3f s; first 4 KiB of each: %.3f s; "
                "%.2fx (medians %.2fx), target at most %.1fx: %s\n",
                kTaggedFiles, bench::Best(sorts), bench::Best(floors), ratio,
                bench::Median(sorts) / bench::Median(floors), kTagsTarget,
                ratio <= kTagsTarget ? "met" : "MISSED");
    if (!bOk)
        std::printf("FAILED: Sort by Tags gave a wrong order\n");
    return bOk;
}

std::vector<CString> MadeUpPaths(int nRows) {
    std::vector<CString> paths;
    for (int i = 0; i < nRows; ++i) {
        CString path;
        path.Format("C:\\Users\\me\\Music\\Album %02d\\track%05d.mp3", (i * 37) % 100,
                    (i * 7919) % nRows);
        paths.push_back(path);
    }
    return paths;
}

bool UndoAndRedoOfASort() {
    test::PlaylistDlgProbe dlg;
    bool bOk = true;
    test::RunModal(dlg, [&] {
        dlg.AppendEntries(MadeUpPaths(kUndoRows));
        const CString first = dlg.m_playlist.GetItemText(0, 1);
        std::vector<double> sorts, undos, redos;
        for (int round = 0; round < kRounds; ++round) {
            sorts.push_back(bench::TimeOf([&] {
                dlg.Command(ID_SORT_BY_NAME);
                ::UpdateWindow(dlg.m_playlist);
            }));
            undos.push_back(bench::TimeOf([&] {
                dlg.Command(ID_EDIT_UNDO);
                ::UpdateWindow(dlg.m_playlist);
            }));
            bOk &= dlg.m_playlist.GetItemText(0, 1) == first;
            redos.push_back(bench::TimeOf([&] {
                dlg.Command(ID_EDIT_REDO);
                ::UpdateWindow(dlg.m_playlist);
            }));
            bOk &= dlg.m_playlist.GetItemText(1, 0) == "track00001.mp3";
            dlg.Command(ID_EDIT_UNDO);
        }
        for (const auto& [name, times] :
             {std::pair<const char*, std::vector<double>&>{"sort by name", sorts},
              {"undo", undos},
              {"redo", redos}})
            std::printf("%s of %d rows: %.3f s (median %.3f s)%s\n", name, kUndoRows,
                        bench::Best(times), bench::Median(times),
                        name[0] == 's'                            ? ""
                        : bench::Best(times) < kUndoTargetSeconds ? ", target under 0.2 s: met"
                                                                  : ", target under 0.2 s: MISSED");
    });
    if (!bOk)
        std::printf("FAILED: Undo or Redo of the sort gave other rows\n");
    return bOk;
}

// What the program holds on its heaps: the bytes it allocated and has not freed.
SIZE_T HeapBytes() {
    HANDLE heaps[64];
    const DWORD nHeaps = std::min<DWORD>(::GetProcessHeaps(64, heaps), 64);
    SIZE_T nBytes = 0;
    for (DWORD i = 0; i < nHeaps; ++i) {
        PROCESS_HEAP_ENTRY entry = {};
        ::HeapLock(heaps[i]);
        while (::HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                nBytes += entry.cbData;
        ::HeapUnlock(heaps[i]);
    }
    return nBytes;
}

void MemoryOfAHundredSteps() {
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        dlg.AppendEntries(MadeUpPaths(kMemoryRows));
        // The top row moves down a row at each step, and each step keeps every row; the
        // history held only the empty list before the rows came, which the last step pushes out.
        dlg.Select({0});
        const SIZE_T nBefore = HeapBytes();
        const double seconds = bench::TimeOf([&] {
            for (int i = 0; i < kMemorySteps; ++i)
                dlg.Notify(IDC_MOVE_DOWN, BN_CLICKED);
        });
        const double mb = static_cast<double>(HeapBytes() - nBefore) / (1 << 20);
        std::printf("Undo's memory, %d steps of %d rows: %.1f MB more on the heaps (the steps "
                    "took %.1f s), target at most %.0f MB: %s\n",
                    kMemorySteps, kMemoryRows, mb, seconds, kMemoryTargetMb,
                    mb <= kMemoryTargetMb ? "met" : "MISSED");
    });
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    bool bOk = TagsAgainstFloor();
    bOk &= UndoAndRedoOfASort();
    MemoryOfAHundredSteps();
    return bOk ? 0 : 1;
}
