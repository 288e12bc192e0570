// The copy tests' window with its progress bar watched: every text it is told, and the
// position, the files on E: and the range at each step.
#pragma once

#include "res/resource.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

namespace copytest {

using Names = std::vector<std::string>;

// What the progress bar was told during a run: each text, and the position after each step.
struct ProgressLog {
    std::vector<std::string> texts;
    std::vector<int> positions;
    std::vector<std::string> copiedAtStep;  // files on E: when each step arrived
    std::vector<PBRANGE> ranges;            // the range at each step
    bool bRepaintedAtOnce = true;
    bool bCountCopies = false;        // fills copiedAtStep
    std::function<void()> afterStep;  // runs after each step is recorded

    // The bar's last text, "" when it was told none.
    std::string LastText() const { return texts.empty() ? "" : texts.back(); }
};

inline ProgressLog* g_pLog = nullptr;
inline WNDPROC g_pfnProgress = nullptr;

inline LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT)
        g_pLog->texts.push_back(reinterpret_cast<LPCSTR>(lParam));
    LRESULT result = ::CallWindowProcA(g_pfnProgress, hWnd, message, wParam, lParam);
    if (message == PBM_STEPIT) {
        g_pLog->positions.push_back(static_cast<int>(::SendMessageA(hWnd, PBM_GETPOS, 0, 0)));
        if (g_pLog->bCountCopies)
            g_pLog->copiedAtStep.push_back(
                std::to_string(test::TempFolder::FileNames("E:").size()));
        RECT update;
        if (::GetUpdateRect(hWnd, &update, FALSE))
            g_pLog->bRepaintedAtOnce = false;
        PBRANGE range;
        ::SendMessageA(hWnd, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
        g_pLog->ranges.push_back(range);
        if (g_pLog->afterStep)
            g_pLog->afterStep();
    }
    return result;
}

class Copy : public ::testing::Test {
protected:
    void SetUp() override {
        test::TempFolder::RemoveContents("E:", true);
        m_nOrderTimer = ::SetTimer(nullptr, 0, 50, CloseOrderLine);
    }
    void TearDown() override {
        ::KillTimer(nullptr, m_nOrderTimer);
        test::TempFolder::RemoveContents("E:", true);
    }

    // Where a drive's order on the disk can be read (a FAT or exFAT volume), a copy into gaps
    // may end with the line that says its order is not the list's: it is closed here.
    static void CALLBACK CloseOrderLine(HWND, UINT, UINT_PTR, DWORD) {
        std::string text;
        HWND hBox = test::FindMessageBox(&text);
        if (hBox && text.compare(0, 13, "The files on ") == 0)
            ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    }
    UINT_PTR m_nOrderTimer = 0;

    // Adds a row for a source file (which need not exist).
    void AddSource(const std::string& name, const std::string& path) {
        dlg.InsertEntry(name.c_str(), path.c_str(), dlg.m_playlist.GetItemCount());
    }
    // Runs the copy command and records what the bar was told. Counting the files on E: at
    // each step lists the drive, which takes seconds on some drivers once it holds a thousand.
    ProgressLog RunCopy(std::function<void()> afterStep = nullptr, bool bCountCopies = false) {
        ProgressLog log;
        log.afterStep = std::move(afterStep);
        log.bCountCopies = bCountCopies;
        g_pLog = &log;
        HWND hBar = dlg.m_progress.m_hWnd;
        g_pfnProgress = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
        dlg.Command(ID_COPY_FILES);
        ::SetWindowLongPtrA(hBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnProgress));
        g_pLog = nullptr;
        return log;
    }

    test::TempFolder sources{"copy"};
    test::PlaylistDlgProbe dlg;
};

}  // namespace copytest
