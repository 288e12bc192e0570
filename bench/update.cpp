// The update of an earlier copy against the full copy of the same list, in the same run: 1,000
// files of 1 MiB copied onto a drive as Copy Files copies them, then the last row moved to the
// top and the drive updated (every copy renamed, no data copied). Both go through the window's
// own run on its progress bar; the question before the update is not timed. Then the plan
// alone, for 10,000 rows over a root of 10,000 copies.
// Usage: bench_update [DRIVE [LABEL]]   (default E:, the label names the drive in the output)
#include "bench/support/DriveCheck.h"
#include "bench/support/SourceSet.h"
#include "bench/support/Stopwatch.h"
#include "playlist/CopyProgress.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kRounds = 3;
const double kUpdateTarget = 0.05;
const double kPlanTargetMs = 50;
std::vector<double> g_bare;  // each round's renames alone

void Run(test::PlaylistDlgProbe& dlg, const CString& drive, const VolumeFacts& facts,
         const UpdatePlan& plan, const std::vector<CopyRow>& rows,
         const std::vector<RootEntry>& root) {
    CCopyProgress progress(dlg.m_progress, static_cast<UINT>(plan.steps.size()),
                           [] { return false; });
    RunPlan(drive, facts, plan, rows, root, progress);
}

// One round: the full copy, then the update after the last row went to the top; their seconds.
bool Round(test::PlaylistDlgProbe& dlg, const bench::SourceSet& set, const CString& drive,
           double* pCopy, double* pUpdate) {
    test::TempFolder::RemoveContents(static_cast<LPCSTR>(drive), true);
    dlg.OnClearList();
    std::vector<CString> paths;
    for (int i = 0; i < set.Count(); ++i)
        paths.emplace_back(set.Path(i).c_str());
    dlg.AppendEntries(paths);
    const VolumeFacts facts = ReadVolumeFacts(drive);
    *pCopy = bench::TimeOf([&] {
        const std::vector<CopyRow> rows = dlg.ReadCopyRows();
        Run(dlg, drive, facts, PlanCopy(rows, TRUE, {}), rows, {});
    });
    dlg.Select({set.Count() - 1});
    dlg.MoveSelectionTo(0);
    UpdatePlan plan;
    // The floor: the same renames alone, there and back again.
    {
        const std::vector<CopyRow> rows = dlg.ReadCopyRows();
        bool bDiskOrder = false;
        const UpdatePlan there = PlanUpdate(rows, TRUE, ListRoot(drive, &bDiskOrder), false);
        g_bare.push_back(bench::TimeOf([&] {
            for (const UpdateStep& step : there.steps)
                RenameInFolder(drive, step.from, step.to, false);
        }));
        for (auto step = there.steps.rbegin(); step != there.steps.rend(); ++step)
            RenameInFolder(drive, step->to, step->from, false);
    }
    *pUpdate = bench::TimeOf([&] {
        const std::vector<CopyRow> rows = dlg.ReadCopyRows();
        bool bOrderKnown = false;
        const std::vector<RootEntry> root = ListRootInOrder(drive, facts, &bOrderKnown);
        plan = PlanUpdate(rows, TRUE, root, bOrderKnown);
        Run(dlg, drive, facts, plan, rows, root);
    });
    const int nLast = set.Count();
    const std::vector<bench::ExpectedFile> samples = {
        {"0001_" + set.Name(nLast - 1), set.FileBytes()},
        {"0002_" + set.Name(0), set.FileBytes()},
        {std::to_string(nLast) + "_" + set.Name(nLast - 2), set.FileBytes()}};
    const bool bOk = plan.nCopied == 0 && plan.nRenamed == static_cast<unsigned>(nLast) &&
                     bench::CheckDrive(static_cast<LPCSTR>(drive), nLast, samples, "update");
    if (!bOk)
        std::printf("FAILED: the update copied %u and renamed %u files\n", plan.nCopied,
                    plan.nRenamed);
    return bOk;
}

// The plan for 10,000 rows over a root that holds their copies, the last row moved to the top.
double PlanMilliseconds() {
    const int nRows = 10000;
    std::vector<CopyRow> rows;
    std::vector<RootEntry> root;
    for (int i = 0; i < nRows; ++i) {
        char name[32], copy[40];
        std::snprintf(name, sizeof(name), "track%05d.mp3", i + 1);
        std::snprintf(copy, sizeof(copy), "%05d_%s", i + 1, name);
        FileFacts facts{true, 4096ULL + static_cast<ULONGLONG>(i), 130000000000000000ULL};
        rows.push_back({name, name, facts});
        root.push_back({copy, true, false, facts});
    }
    rows.insert(rows.begin(), rows.back());
    rows.pop_back();
    std::vector<double> times;
    for (int round = 0; round < 5; ++round)
        times.push_back(bench::TimeOf([&] { PlanUpdate(rows, TRUE, root, true); }) * 1000);
    return bench::Best(times);
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const CString drive = argc > 1 ? argv[1] : "E:";
    const char* lpszLabel = argc > 2 ? argv[2] : "a folder";
    bool bOk = true;
    std::vector<double> copies, updates;
    {
        bench::SourceSet set("bench-update", 1000, 1 << 20);
        if (!set.Complete()) {
            std::printf("FAILED: could not create the source files\n");
            return 1;
        }
        set.Warm();
        test::PlaylistDlgProbe dlg;
        test::RunModal(dlg, [&] {
            for (int round = 0; round < kRounds && bOk; ++round) {
                double copy = 0, update = 0;
                bOk = Round(dlg, set, drive, &copy, &update);
                copies.push_back(copy);
                updates.push_back(update);
            }
        });
    }
    test::TempFolder::RemoveContents(static_cast<LPCSTR>(drive), true);
    const double ratio = bench::Best(updates) / bench::Best(copies);
    std::printf("Update on %s (%s), 1,000 x 1 MiB, the last row moved to the top, best of %d\n",
                static_cast<LPCSTR>(drive), lpszLabel, kRounds);
    std::printf("  full copy %.3f s, update %.3f s (%.3f ms a file)   runs:", bench::Best(copies),
                bench::Best(updates), bench::Best(updates) * 1000 / 1000);
    for (size_t i = 0; i < copies.size(); ++i)
        std::printf(" %.3f/%.3f", copies[i], updates[i]);
    std::printf("\n  the renames alone %.3f s\n", bench::Best(g_bare));
    std::printf("  update / full copy %.4f, target at most %.2f: %s\n", ratio, kUpdateTarget,
                ratio <= kUpdateTarget ? "met" : "MISSED");
    const double plan = PlanMilliseconds();
    std::printf("Plan of 10,000 rows over a root of 10,000 copies: %.1f ms, target under %.0f ms: "
                "%s\n",
                plan, kPlanTargetMs, plan < kPlanTargetMs ? "met" : "MISSED");
    return bOk ? 0 : 1;
}
