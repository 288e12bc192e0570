// Saving through the window, as a user would: a failed save says so, keeps the old file and
// leaves no temporary file behind.
#include "res/resource.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"
#include "tests/support/TempFolder.h"

#include <dlgs.h>
#include <gtest/gtest.h>

namespace {

// The visible top-level window of this process, other than except, that holds control nID.
HWND FindOwnWindowWith(int nID, HWND except) {
    for (HWND hWnd = ::GetTopWindow(nullptr); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        if (pid == ::GetCurrentProcessId() && hWnd != except && ::IsWindowVisible(hWnd) &&
            ::GetDlgItem(hWnd, nID))
            return hWnd;
    }
    return nullptr;
}

TEST(SavePlaylist, AFailedSaveSaysSoAndLeavesTheFileThatWasThere) {
    test::TempFolder folder("save-dialog");
    std::string target = folder.CreateFile("old.m3u8", "old content");
    // Held open without sharing, the file cannot be replaced.
    HANDLE hHeld =
        ::CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<std::string> files = test::TempFolder::FileNames(folder.Path());
    test::PlaylistDlgProbe dlg;
    std::string message;
    int nStep = 0;
    test::RunModal(dlg, [&] {
        dlg.AddRows({"a.mp3"});
        // Save As, then its question whether to replace the file, then the program's message.
        test::WhileModal(
            [&] {
                const int kMessageText = 0xFFFF;
                HWND hBox = FindOwnWindowWith(kMessageText, dlg.m_hWnd);
                HWND hSave = FindOwnWindowWith(IDOK, dlg.m_hWnd);
                if (nStep == 0 && hSave && !hBox) {
                    HWND hName = ::GetDlgItem(hSave, cmb13) ? ::GetDlgItem(hSave, cmb13)
                                                            : ::GetDlgItem(hSave, edt1);
                    ::SetWindowTextA(hName, target.c_str());
                    ::PostMessageA(hSave, WM_COMMAND, IDOK, 0);
                    nStep = 1;
                } else if (nStep == 1 && hBox && ::GetDlgItem(hBox, IDYES)) {
                    ::PostMessageA(hBox, WM_COMMAND, IDYES, 0);
                    nStep = 2;
                } else if (nStep == 2 && hBox && !::GetDlgItem(hBox, IDYES)) {
                    char text[1024] = "";
                    ::GetDlgItemTextA(hBox, kMessageText, text, sizeof(text));
                    message = text;
                    ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
                    return true;
                }
                return false;
            },
            20000);
        dlg.Command(ID_SAVE_PLAYLIST);
    });
    ::CloseHandle(hHeld);
    EXPECT_EQ(message.find("The playlist could not be saved as " + target + ": "), 0u) << message;
    const std::string kKept = "\nThe file that was there is unchanged.";
    EXPECT_EQ(message.substr(message.size() - std::min(message.size(), kKept.size())), kKept);
    EXPECT_EQ(test::TempFolder::ReadFile(target), "old content");
    EXPECT_EQ(test::TempFolder::FileNames(folder.Path()), files);  // no temporary file left
}

}  // namespace
