// Editing a long playlist: adding rows as Add Files does, moving every other row down and up,
// and removing every other row, at several list lengths, to see how each grows with the rows.
#include "bench/support/Growth.h"
#include "bench/support/Stopwatch.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace {

const int kSizes[] = {5000, 10000, 20000};
const int kRounds = 3;
// A size whose rounds have taken this long gets no more: one slow round says enough.
const double kRoundsBudgetSeconds = 10.0;
const int kTargetRows = 10000;
const double kTargetSeconds = 0.5;   // at kTargetRows
const double kTargetExponent = 1.2;  // from the first size to the last

enum Operation { kAdd, kDown, kUp, kRemove, kOperations };
const char* const kNames[kOperations] = {"add N rows", "down, N/2 selected", "up, N/2 selected",
                                         "remove N/2 selected"};

// Paths as the open-file dialog returns them, with the extensions of the media filter.
std::vector<CString> MakePaths(int nRows) {
    static const char* const kExtensions[] = {"mp3", "jpg", "avi",  "flac", "mkv", "wma", "ogg",
                                              "mp4", "bmp", "mpeg", "mov",  "aac", "wmv"};
    std::vector<CString> paths;
    for (int i = 0; i < nRows; ++i) {
        CString path;
        path.Format("C:\\Users\\me\\Music\\Album %02d\\track%05d.%s", i / 100, i + 1,
                    kExtensions[i % 13]);
        paths.push_back(path);
    }
    return paths;
}

// Selects the rows of one parity and no others.
void SelectEveryOther(test::PlaylistDlgProbe& dlg, int nFirst) {
    dlg.m_playlist.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int i = nFirst; i < dlg.m_playlist.GetItemCount(); i += 2)
        dlg.m_playlist.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
}

// The handler and the list's repaint that follows it: what the user waits for.
template <class Action> double TimeWithRepaint(test::PlaylistDlgProbe& dlg, Action&& action) {
    return bench::TimeOf([&] {
        action();
        ::UpdateWindow(dlg.m_playlist);
    });
}

bool Expect(bool bHolds, const char* lpszWhat, int nRows) {
    if (!bHolds)
        std::printf("FAILED at %d rows: %s\n", nRows, lpszWhat);
    return bHolds;
}

// One round at nRows; adds each operation's time to times. False if a result is wrong.
bool RunRound(test::PlaylistDlgProbe& dlg, const std::vector<CString>& paths,
              std::vector<double>* times) {
    const int nRows = static_cast<int>(paths.size());
    CListCtrl& list = dlg.m_playlist;
    dlg.OnClearList();
    ::UpdateWindow(list);
    // What OnAddFiles does with the chosen names; the dialog cannot be driven with this many.
    times[kAdd].push_back(TimeWithRepaint(dlg, [&] { dlg.AppendEntries(paths); }));
    bool bOk = Expect(list.GetItemCount() == nRows, "rows missing after adding", nRows);

    // Even rows selected: the last selected row is not the bottom one, so the bottom row
    // comes up to the top.
    SelectEveryOther(dlg, 0);
    CString bottom = list.GetItemText(nRows - 1, 0);
    times[kDown].push_back(TimeWithRepaint(dlg, [&] { dlg.OnMoveDown(); }));
    bOk &= Expect(list.GetItemText(0, 0) == bottom, "down did not bring the bottom row up", nRows);

    // Odd rows selected: the top row is not selected, so every selected row moves.
    SelectEveryOther(dlg, 1);
    CString second = list.GetItemText(1, 0);
    times[kUp].push_back(TimeWithRepaint(dlg, [&] { dlg.OnMoveUp(); }));
    bOk &= Expect(list.GetItemText(0, 0) == second, "up did not move the second row up", nRows);

    SelectEveryOther(dlg, 1);
    times[kRemove].push_back(TimeWithRepaint(dlg, [&] { dlg.OnRemoveSelected(); }));
    bOk &=
        Expect(list.GetItemCount() == nRows - nRows / 2 && list.GetNextItem(-1, LVNI_SELECTED) < 0,
               "remove left selected rows or took too many", nRows);
    return bOk;
}

void PrintGrowth(const double best[][kOperations], int nSizes) {
    const int nLast = nSizes - 1;
    const int nTargetSize = static_cast<int>(
        std::find(std::begin(kSizes), std::end(kSizes), kTargetRows) - std::begin(kSizes));
    std::printf("\nTargets: under %.1f s at %d rows; growth exponent k (t ~ N^k) from %d to %d "
                "rows at most %.1f\n",
                kTargetSeconds, kTargetRows, kSizes[0], kSizes[nLast], kTargetExponent);
    for (int op = 0; op < kOperations; ++op) {
        const double seconds = best[nTargetSize][op];
        const double k =
            bench::GrowthExponent(kSizes[0], best[0][op], kSizes[nLast], best[nLast][op]);
        std::printf("  %-21s %7.3f s %-6s  k %5.2f %-6s  steps:", kNames[op], seconds,
                    seconds < kTargetSeconds ? "met" : "MISSED", k,
                    k <= kTargetExponent ? "met" : "MISSED");
        for (int s = 1; s < nSizes; ++s)
            std::printf(" %5.2f", bench::GrowthExponent(kSizes[s - 1], best[s - 1][op], kSizes[s],
                                                        best[s][op]));
        std::printf("\n");
    }
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int nSizes = static_cast<int>(sizeof(kSizes) / sizeof(kSizes[0]));
    double best[nSizes][kOperations] = {};
    bool bOk = true;
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        std::printf("Playlist editing, seconds for the handler and the list's repaint, best of up "
                    "to %d rounds\n",
                    kRounds);
        std::printf("%8s", "rows");
        for (const char* lpszName : kNames)
            std::printf("  %21s", lpszName);
        std::printf("  rounds\n");
        for (int s = 0; s < nSizes; ++s) {
            std::vector<CString> paths = MakePaths(kSizes[s]);
            std::vector<double> times[kOperations];
            bench::Stopwatch spent;
            int nRounds = 0;
            while (nRounds < kRounds && (nRounds == 0 || spent.Seconds() < kRoundsBudgetSeconds)) {
                bOk &= RunRound(dlg, paths, times);
                ++nRounds;
            }
            std::printf("%8d", kSizes[s]);
            for (int op = 0; op < kOperations; ++op) {
                best[s][op] = bench::Best(times[op]);
                std::printf("  %21.3f", best[s][op]);
            }
            std::printf("  %d\n", nRounds);
        }
        dlg.OnClearList();
        PrintGrowth(best, nSizes);
    });
    return bOk ? 0 : 1;
}
