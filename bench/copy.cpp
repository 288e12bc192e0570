// The window's copy to the removable drive E: against a bare loop of CopyFileA over the same
// sources and destination names: the floor for copying one file after another. Both run in
// the same process, alternately, on warm sources and an emptied drive; the best of the runs
// counts for each.
#include "bench/support/DriveCheck.h"
#include "bench/support/SourceSet.h"
#include "bench/support/Stopwatch.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const std::string kDrive = "E:";
const int kRounds = 3;
const double kMiB = 1024.0 * 1024.0;

struct Variants {
    std::vector<double> program;
    std::vector<double> bare;
};

void ClearDrive() { test::TempFolder::RemoveContents(kDrive, true); }

// What the window names the copy of row i, prefix ticked.
std::string TargetPath(int i, const std::string& name) {
    char prefix[16];
    std::snprintf(prefix, sizeof(prefix), "%03u_", static_cast<unsigned>(i + 1));
    return kDrive + "\\" + prefix + name;
}

// Not timed: the rows as Add Files makes them from the chosen paths.
void FillPlaylist(test::PlaylistDlgProbe& dlg, const std::vector<std::string>& sources) {
    dlg.OnClearList();
    std::vector<CString> paths;
    for (const std::string& source : sources)
        paths.emplace_back(source.c_str());
    dlg.AppendEntries(paths);
    ::UpdateWindow(dlg.m_playlist);
}

// Runs the window's copy and the bare loop kRounds times each, the order swapping every round.
// check(isProgram, round) looks at the drive after each run.
template <class Check>
Variants Measure(test::PlaylistDlgProbe& dlg, const std::vector<std::string>& sources,
                 const std::vector<std::string>& targets, Check check) {
    Variants times;
    for (int round = 0; round < kRounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            bool bProgram = (turn == 0) == (round % 2 == 1);
            ClearDrive();
            if (bProgram) {
                times.program.push_back(bench::TimeOf([&] { dlg.CopyFilesToDevice(); }));
            } else {
                times.bare.push_back(bench::TimeOf([&] {
                    for (size_t i = 0; i < sources.size(); ++i)
                        ::CopyFileA(sources[i].c_str(), targets[i].c_str(), FALSE);
                }));
            }
            check(bProgram, round);
        }
    }
    ClearDrive();
    return times;
}

void PrintRuns(const char* lpszName, const std::vector<double>& runs, int nFiles, double bytes) {
    double best = bench::Best(runs);
    std::printf("  %-10s %8.3f s  %7.3f ms/file", lpszName, best, best * 1000.0 / nFiles);
    if (bytes > 0)
        std::printf("  %8.1f MB/s", bytes / kMiB / best);
    std::printf("   runs:");
    for (double run : runs)
        std::printf(" %.3f", run);
    std::printf("\n");
}

// One size class: the real copy, checked after every run. False if a run copied wrongly.
bool BenchSizeClass(test::PlaylistDlgProbe& dlg, const bench::SourceSet& set, const char* lpszLabel,
                    double target) {
    std::vector<std::string> sources, targets;
    for (int i = 0; i < set.Count(); ++i) {
        sources.push_back(set.Path(i));
        targets.push_back(TargetPath(i, set.Name(i)));
    }
    FillPlaylist(dlg, sources);
    set.Warm();

    std::vector<bench::ExpectedFile> samples;
    for (int i : {0, 999, set.Count() - 1})
        if (i < set.Count())
            samples.push_back(
                {targets[static_cast<size_t>(i)].substr(kDrive.size() + 1), set.FileBytes()});
    bool bOk = true;
    Variants times = Measure(dlg, sources, targets, [&](bool bProgram, int round) {
        std::string run = std::string(lpszLabel) + (bProgram ? " program" : " bare loop") +
                          " run " + std::to_string(round + 1);
        bOk &= bench::CheckDrive(kDrive, sources.size(), samples, run.c_str());
        if (bProgram && std::string(dlg.m_progress.GetWindowText()) != "Complete") {
            std::printf("FAILED %s: the bar says \"%s\"\n", run.c_str(),
                        static_cast<LPCSTR>(dlg.m_progress.GetWindowText()));
            bOk = false;
        }
    });

    double bytes = static_cast<double>(set.FileBytes()) * set.Count();
    std::printf("%s x %d (%.0f MB)\n", lpszLabel, set.Count(), bytes / kMiB);
    PrintRuns("program", times.program, set.Count(), bytes);
    PrintRuns("bare loop", times.bare, set.Count(), bytes);
    double ratio = bench::Best(times.program) / bench::Best(times.bare);
    double medianRatio = bench::Median(times.program) / bench::Median(times.bare);
    std::printf("  ratio program/bare loop %.3fx (of medians %.3fx), target at most %.2fx: %s\n",
                ratio, medianRatio, target, ratio <= target ? "met" : "MISSED");
    std::printf("  program minus bare loop: %.3f ms/file\n\n",
                (bench::Best(times.program) - bench::Best(times.bare)) * 1000.0 / set.Count());
    return bOk;
}

// The window's own work per file: two row reads, the names, the bar's text and its synchronous
// repaint. Rows whose sources do not exist make CopyFileA fail at the open, so a run is almost
// all window work; the same failing loop without the window is subtracted. The folder is empty:
// looking a name up in a full one costs Wine a scan of it.
bool BenchWindowWork(test::PlaylistDlgProbe& dlg, const bench::SourceSet& set) {
    test::TempFolder empty("bench-missing");
    std::vector<std::string> names, sources, targets;
    for (int i = 0; i < set.Count(); ++i) {
        names.push_back("missing-" + set.Name(i));
        sources.push_back(empty.PathOf(names.back()));
        targets.push_back(TargetPath(i, names.back()));
    }
    FillPlaylist(dlg, sources);
    bool bOk = true;
    Variants times = Measure(dlg, sources, targets, [&](bool bProgram, int round) {
        std::string run = std::string("missing sources") + (bProgram ? " program" : " bare loop") +
                          " run " + std::to_string(round + 1);
        bOk &= bench::CheckDrive(kDrive, 0, {}, run.c_str());
    });
    std::printf("Window work per file (%d rows whose sources are missing)\n", set.Count());
    PrintRuns("program", times.program, set.Count(), 0);
    PrintRuns("bare loop", times.bare, set.Count(), 0);
    std::printf("  window work: %.3f ms/file\n",
                (bench::Best(times.program) - bench::Best(times.bare)) * 1000.0 / set.Count());
    // The least a synchronous repaint costs here: a plain static text redrawn at once.
    const int nRepaints = 2000;
    double repaint = bench::TimeOf([&] {
        for (int i = 0; i < nRepaints; ++i)
            dlg.m_capacityText.RedrawWindow(nullptr, nullptr,
                                            RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    });
    std::printf("  of which the platform's floor for one synchronous repaint: %.3f ms\n",
                repaint * 1000.0 / nRepaints);
    dlg.OnClearList();
    return bOk;
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ClearDrive();
    bool bOk = true;
    {
        std::printf("Creating sources...\n");
        bench::SourceSet large("bench-1mib", 1000, 1 << 20);
        bench::SourceSet small("bench-4kib", 10000, 4 << 10);
        if (!large.Complete() || !small.Complete()) {
            std::printf("FAILED: could not create the source files\n");
            return 1;
        }
        test::PlaylistDlgProbe dlg;
        test::RunModal(dlg, [&] {
            int nDrive = dlg.m_driveCombo.FindStringExact(-1, kDrive.c_str());
            if (nDrive < 0) {
                std::printf("FAILED: %s is not in the drive list\n", kDrive.c_str());
                bOk = false;
                return;
            }
            dlg.m_driveCombo.SetCurSel(nDrive);
            dlg.m_addPrefixCheck.SetCheck(BST_CHECKED);
            std::printf("Copy Files into %s, best of %d runs each, alternating with the bare "
                        "CopyFileA loop (MB = 2^20 bytes)\n\n",
                        kDrive.c_str(), kRounds);
            bOk &= BenchSizeClass(dlg, large, "1 MiB files", 1.05);
            bOk &= BenchSizeClass(dlg, small, "4 KiB files", 1.10);
            bOk &= BenchWindowWork(dlg, small);
        });
    }
    ClearDrive();
    return bOk ? 0 : 1;
}
