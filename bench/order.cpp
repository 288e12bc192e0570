// Putting 1,000 copies on a drive in list order (PutInOrder: out into the order folder and
// back) against its floor, the same 2,000 renames alone, in turn on the same files; best of
// several rounds. The copies are written in reverse list order, so that they stand out of it.
// Usage: bench_order [DRIVE [LABEL]]   (default E:, the label names the drive in the output)
#include "bench/support/Stopwatch.h"
#include "copy/RootInOrder.h"
#include "tests/support/TempFolder.h"

#include <cstdio>
#include <string>

namespace {

const int kCopies = 1000;
const int kRounds = 5;
const double kOrderTarget = 1.3;

// The 2,000 renames of putting in order, with nothing around them.
bool BareRenames(const CString& drive, const std::vector<CString>& copies) {
    const CString folder = JoinPath(drive, "~bench.order");
    bool bOk = ::CreateDirectoryA(folder, nullptr) != FALSE;
    for (const CString& copy : copies)
        bOk &= ::MoveFileA(JoinPath(drive, copy), JoinPath(folder, copy)) != FALSE;
    for (const CString& copy : copies)
        bOk &= ::MoveFileA(JoinPath(folder, copy), JoinPath(drive, copy)) != FALSE;
    return ::RemoveDirectoryA(folder) && bOk;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const CString drive = argc > 1 ? argv[1] : "E:";
    const char* lpszLabel = argc > 2 ? argv[2] : "a folder";
    test::TempFolder::RemoveContents(static_cast<LPCSTR>(drive), true);
    std::vector<CString> copies;
    for (int i = kCopies; i >= 1; --i) {
        char name[40];
        std::snprintf(name, sizeof(name), "%04d_track%05d.mp3", i, i);
        test::TempFolder::WriteFile(static_cast<LPCSTR>(JoinPath(drive, name)), name, 4096);
        copies.insert(copies.begin(), name);
    }
    bool bOk = true;
    std::vector<double> orders, renames;
    for (int round = 0; round < kRounds; ++round) {
        auto order = [&] {
            const OrderOutcome outcome = PutInOrder(drive, copies);
            bOk &= outcome.result == OrderResult::kDone && outcome.left.empty();
        };
        auto rename = [&] { bOk &= BareRenames(drive, copies); };
        if (round % 2) {
            renames.push_back(bench::TimeOf(rename));
            orders.push_back(bench::TimeOf(order));
        } else {
            orders.push_back(bench::TimeOf(order));
            renames.push_back(bench::TimeOf(rename));
        }
    }
    bOk &= test::TempFolder::FileNames(static_cast<LPCSTR>(drive)).size() ==
           static_cast<size_t>(kCopies);
    test::TempFolder::RemoveContents(static_cast<LPCSTR>(drive), true);
    if (!bOk)
        std::printf("FAILED: a move failed, or the drive does not hold the 1,000 copies\n");
    const double ratio = bench::Best(orders) / bench::Best(renames);
    std::printf("Putting 1,000 copies in order on %s (%s), best of %d rounds in turn\n",
                static_cast<LPCSTR>(drive), lpszLabel, kRounds);
    std::printf("  put in order %.3f s, 2,000 bare renames %.3f s   runs:", bench::Best(orders),
                bench::Best(renames));
    for (size_t i = 0; i < orders.size(); ++i)
        std::printf(" %.3f/%.3f", orders[i], renames[i]);
    std::printf("\n  put in order / renames %.3fx (of medians %.3fx), target at most %.2fx: %s\n",
                ratio, bench::Median(orders) / bench::Median(renames), kOrderTarget,
                ratio <= kOrderTarget ? "met" : "MISSED");
    return bOk ? 0 : 1;
}
