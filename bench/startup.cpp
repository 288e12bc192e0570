// Start-up: the time from starting the program to its window waiting idle for input, against
// bare_dialog, the same window shown by the platform alone, started in turn in the same run.
// Each start is checked: a visible window of the process, which then closes on WM_CLOSE.
#include "bench/support/Stopwatch.h"
#include "framework/KernelHandle.h"
#include "framework/String.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kRounds = 20;
const double kTarget = 1.2;
const DWORD kTimeoutMs = 30000;

struct Program {
    const char* lpszName;
    std::string path;
    std::vector<double> times;
};

struct WindowSearch {
    DWORD dwProcessId;
    HWND hFound;
};

BOOL CALLBACK FindVisibleWindow(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != pSearch->dwProcessId || !::IsWindowVisible(hWnd))
        return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

// The process's visible top-level window, or nullptr.
HWND VisibleWindowOf(DWORD dwProcessId) {
    WindowSearch search = {dwProcessId, nullptr};
    ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

// Starts the program, times it until its window is idle, closes it. False if anything failed.
bool TimeStart(Program& program) {
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string commandLine = "\"" + program.path + "\"";
    bench::Stopwatch watch;
    if (!::CreateProcessA(program.path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                          nullptr, nullptr, &si, &pi)) {
        std::printf("FAILED: cannot start %s (error %lu)\n", program.path.c_str(),
                    ::GetLastError());
        return false;
    }
    const CHandle hProcess(pi.hProcess), hThread(pi.hThread);
    const bool bIdle = ::WaitForInputIdle(hProcess, kTimeoutMs) == 0;
    const double seconds = watch.Seconds();
    const HWND hWnd = VisibleWindowOf(pi.dwProcessId);
    bool bOk = bIdle && hWnd;
    if (bOk)
        program.times.push_back(seconds);
    else
        std::printf("FAILED: %s %s\n", program.lpszName,
                    bIdle ? "showed no window" : "did not become idle");
    if (hWnd)
        ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
        std::printf("FAILED: %s did not close\n", program.lpszName);
        ::TerminateProcess(hProcess, 1);
        bOk = false;
    }
    return bOk;
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string folder(FolderOfPath(self));
    Program programs[] = {{"program", folder + "OveloPlaylist.exe", {}},
                          {"bare dialog", folder + "bare_dialog.exe", {}}};

    bool bOk = true;
    // Unmeasured first starts: the first start of each reads its files from the disk.
    for (Program& program : programs) {
        bOk &= TimeStart(program);
        program.times.clear();
    }
    for (int round = 0; round < kRounds && bOk; ++round) {
        for (int turn = 0; turn < 2; ++turn)
            bOk &= TimeStart(programs[(turn + round) % 2]);
    }
    if (!bOk)
        return 1;
    std::printf("Start to an idle window, best of %d starts each, in turn\n", kRounds);
    for (const Program& program : programs) {
        std::printf("  %-12s %7.3f s   runs:", program.lpszName, bench::Best(program.times));
        for (double run : program.times)
            std::printf(" %.3f", run);
        std::printf("\n");
    }
    const double ratio = bench::Best(programs[0].times) / bench::Best(programs[1].times);
    std::printf("  program / bare dialog %.3fx (of medians %.3fx), target at most %.2fx: %s\n",
                ratio, bench::Median(programs[0].times) / bench::Median(programs[1].times), kTarget,
                ratio <= kTarget ? "met" : "MISSED");
    return 0;
}
