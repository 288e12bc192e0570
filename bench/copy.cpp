// The window's copy to the removable drive E: against a bare loop of CopyFileA over the same
// sources and destination names, the floor for copying one file after another; between them
// the staged loop, the window's own way of copying (a staging folder on the device, then a
// rename into place) without the window, shows what the rename costs. All run in one process,
// in turn, on warm sources and an emptied drive; the best run of each counts.
// Then the window's own work per file against the platform's floor for it, one synchronous
// repaint of a plain control, measured in small alternating batches.
#include "bench/support/DriveCheck.h"
#include "bench/support/SourceSet.h"
#include "bench/support/Stopwatch.h"
#include "copy/CopyNames.h"
#include "copy/StagedCopy.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const std::string kDrive = "E:";
const int kRounds = 3;
const double kMiB = 1024.0 * 1024.0;
// Window work: batches of rows whose sources are missing, so that a copy fails at once.
const int kBatchRows = 200;
const int kBatches = 40;
const double kWindowWorkTarget = 1.15;

void ClearDrive() { test::TempFolder::RemoveContents(kDrive, true); }

// What the window names the copy of row i of nRows, prefix ticked.
std::string TargetName(int i, int nRows, const std::string& name) {
    return static_cast<LPCSTR>(
        CCopyNames(static_cast<UINT>(nRows)).Name(static_cast<UINT>(i), name.c_str(), TRUE));
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

struct Variant {
    const char* lpszName;
    std::function<void()> run;
    std::vector<double> times;
};

// Runs each variant kRounds times, the order turning every round so that none always runs
// first; check(variant, round) looks at the drive after each run.
void Measure(std::vector<Variant>& variants, int nRounds, bool bClearDrive,
             const std::function<void(const Variant&, int)>& check) {
    for (int round = 0; round < nRounds; ++round) {
        for (size_t turn = 0; turn < variants.size(); ++turn) {
            Variant& variant = variants[(turn + static_cast<size_t>(round)) % variants.size()];
            if (bClearDrive)
                ClearDrive();
            variant.times.push_back(bench::TimeOf(variant.run));
            if (check)
                check(variant, round);
        }
    }
}

void PrintRuns(const Variant& variant, int nFiles, double bytes) {
    double best = bench::Best(variant.times);
    std::printf("  %-12s %8.3f s  %7.3f ms/file", variant.lpszName, best, best * 1000.0 / nFiles);
    if (bytes > 0)
        std::printf("  %8.1f MB/s", bytes / kMiB / best);
    std::printf("   runs:");
    for (double run : variant.times)
        std::printf(" %.3f", run);
    std::printf("\n");
}

// One size class: the real copy, checked after every run. False if a run copied wrongly. The
// staged loop is held to stagedTarget where it is not 0.
bool BenchSizeClass(test::PlaylistDlgProbe& dlg, const bench::SourceSet& set, const char* lpszLabel,
                    double target, double stagedTarget) {
    std::vector<std::string> sources, names;
    for (int i = 0; i < set.Count(); ++i) {
        sources.push_back(set.Path(i));
        names.push_back(TargetName(i, set.Count(), set.Name(i)));
    }
    FillPlaylist(dlg, sources);
    set.Warm();

    std::vector<Variant> variants = {
        {"program", [&] { dlg.CopyFilesToDevice(); }, {}},
        {"staged loop",
         [&] {
             CStagedCopy copy;
             for (size_t i = 0; i < sources.size(); ++i)
                 copy.Copy(sources[i].c_str(), kDrive.c_str(), names[i].c_str(), set.FileBytes(),
                           Existing::kReplace);
         },
         {}},
        {"bare loop",
         [&] {
             for (size_t i = 0; i < sources.size(); ++i)
                 ::CopyFileA(sources[i].c_str(), JoinPath(kDrive.c_str(), names[i].c_str()), FALSE);
         },
         {}},
    };
    std::vector<bench::ExpectedFile> samples;
    for (int i : {0, 999, set.Count() - 1})
        if (i < set.Count())
            samples.push_back({names[static_cast<size_t>(i)], set.FileBytes()});
    bool bOk = true;
    Measure(variants, kRounds, true, [&](const Variant& variant, int round) {
        std::string run =
            std::string(lpszLabel) + " " + variant.lpszName + " run " + std::to_string(round + 1);
        bOk &= bench::CheckDrive(kDrive, sources.size(), samples, run.c_str());
        if (&variant == &variants[0] && std::string(dlg.m_progress.GetWindowText()) != "Complete") {
            std::printf("FAILED %s: the bar says \"%s\"\n", run.c_str(),
                        static_cast<LPCSTR>(dlg.m_progress.GetWindowText()));
            bOk = false;
        }
    });

    double bytes = static_cast<double>(set.FileBytes()) * set.Count();
    std::printf("%s x %d (%.0f MB)\n", lpszLabel, set.Count(), bytes / kMiB);
    for (const Variant& variant : variants)
        PrintRuns(variant, set.Count(), bytes);
    const double bare = bench::Best(variants[2].times);
    const double ratio = bench::Best(variants[0].times) / bare;
    std::printf("  program / bare loop      %.3fx (of medians %.3fx), target at most %.2fx: %s\n",
                ratio, bench::Median(variants[0].times) / bench::Median(variants[2].times), target,
                ratio <= target ? "met" : "MISSED");
    const double staged = bench::Best(variants[1].times) / bare;
    std::printf("  staged loop / bare loop  %.3fx (of medians %.3fx): the staging folder, the "
                "rename and the digest",
                staged, bench::Median(variants[1].times) / bench::Median(variants[2].times));
    if (stagedTarget > 0)
        std::printf(", target at most %.2fx: %s", stagedTarget,
                    staged <= stagedTarget ? "met" : "MISSED");
    std::printf("\n");
    std::printf("  program - staged loop    %.3f ms/file: the window's work\n\n",
                (bench::Best(variants[0].times) - bench::Best(variants[1].times)) * 1000.0 /
                    set.Count());
    return bOk;
}

// The window's own work per file: two row reads, the names, the bar's text and its synchronous
// repaint. Rows whose sources do not exist make each copy fail at the open, and the same
// failing staged copies without the window are subtracted. Short batches in turn with the
// floor, best of many: other programs on the machine slow every kind of run in bursts.
bool BenchWindowWork(test::PlaylistDlgProbe& dlg) {
    test::TempFolder empty("bench-missing");
    std::vector<std::string> sources, names;
    for (int i = 0; i < kBatchRows; ++i) {
        std::string name = "missing" + std::to_string(i) + ".mp3";
        sources.push_back(empty.PathOf(name));
        names.push_back(TargetName(i, kBatchRows, name));
    }
    FillPlaylist(dlg, sources);
    std::vector<Variant> variants = {
        {"program", [&] { dlg.CopyFilesToDevice(); }, {}},
        {"failing staged loop",
         [&] {
             CStagedCopy copy;
             for (int i = 0; i < kBatchRows; ++i)
                 copy.Copy(sources[static_cast<size_t>(i)].c_str(), kDrive.c_str(),
                           names[static_cast<size_t>(i)].c_str(), 0, Existing::kReplace);
         },
         {}},
        {"floor",
         [&] {
             for (int i = 0; i < kBatchRows; ++i)
                 dlg.m_capacityText.RedrawWindow(nullptr, nullptr,
                                                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
         },
         {}},
    };
    bool bOk = true;
    Measure(variants, kBatches, false, [&](const Variant& variant, int) {
        if (&variant == &variants[0])
            bOk &= bench::CheckDrive(kDrive, 0, {}, "missing sources");
    });
    const double perFile = 1000.0 / kBatchRows;
    const double work = (bench::Best(variants[0].times) - bench::Best(variants[1].times)) * perFile;
    const double floor = bench::Best(variants[2].times) * perFile;
    // Each round's own ratio as well: the best batches of two kinds may come from different
    // moments.
    std::vector<double> roundRatios;
    for (int round = 0; round < kBatches; ++round) {
        const size_t r = static_cast<size_t>(round);
        roundRatios.push_back((variants[0].times[r] - variants[1].times[r]) / variants[2].times[r]);
    }
    std::printf("Window work per file, best of %d batches of %d rows whose sources are missing\n",
                kBatches, kBatchRows);
    std::printf("  program %.4f ms - failing staged loop %.4f ms = window work %.4f ms\n",
                bench::Best(variants[0].times) * perFile, bench::Best(variants[1].times) * perFile,
                work);
    std::printf("  floor: one synchronous repaint of a plain static %.4f ms (median %.4f ms)\n",
                floor, bench::Median(variants[2].times) * perFile);
    std::printf("  window work / floor %.3fx (median of the rounds' own ratios %.3fx), target at "
                "most %.2fx: %s\n",
                work / floor, bench::Median(roundRatios), kWindowWorkTarget,
                work / floor <= kWindowWorkTarget ? "met" : "MISSED");
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
            bOk &= BenchWindowWork(dlg);
            std::printf("\nCopy Files into %s, best of %d runs each, in turn with the staged and "
                        "the bare CopyFileA loop (MB = 2^20 bytes)\n\n",
                        kDrive.c_str(), kRounds);
            bOk &= BenchSizeClass(dlg, large, "1 MiB files", 1.05, 1.3);
            bOk &= BenchSizeClass(dlg, small, "4 KiB files", 1.10, 0);
        });
    }
    ClearDrive();
    return bOk ? 0 : 1;
}
