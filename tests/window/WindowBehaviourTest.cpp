// How the playlist window answers the system menu and the keyboard.
#include "framework/WinApp.h"
#include "res/resource.h"
#include "res/version.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string MenuText(HMENU hMenu, int nPos) {
    char text[64] = "";
    ::GetMenuStringA(hMenu, nPos, text, sizeof(text), MF_BYPOSITION);
    return text;
}

TEST(WindowBehaviour, SystemMenuEndsWithSeparatorAndAbout) {
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        HMENU hMenu = ::GetSystemMenu(dlg.m_hWnd, FALSE);
        int nCount = ::GetMenuItemCount(hMenu);
        ASSERT_GE(nCount, 2);
        EXPECT_EQ(::GetMenuState(hMenu, nCount - 2, MF_BYPOSITION) & MF_SEPARATOR,
                  static_cast<UINT>(MF_SEPARATOR));
        EXPECT_EQ(MenuText(hMenu, nCount - 1), "&About Quib...");
        EXPECT_EQ(::GetMenuItemID(hMenu, nCount - 1), static_cast<UINT>(IDM_ABOUTBOX));
    });
}

// Opens the About box with the given system command and closes it with its
// OK button; returns how many About boxes were seen.
int ShowAboutWith(test::PlaylistDlgProbe& dlg, WPARAM nCommand) {
    int nSeen = 0;
    test::WhileModal([&] {
        HWND hAbout = test::FindOwnWindow("About Ovelo");
        if (!hAbout || !::IsWindowVisible(hAbout))
            return false;
        ++nSeen;
        EXPECT_EQ(::GetWindow(hAbout, GW_OWNER), dlg.m_hWnd);
        EXPECT_FALSE(::IsWindowEnabled(dlg.m_hWnd));  // modal over the window
        ::PostMessageA(hAbout, WM_COMMAND, IDOK, 0);
        return true;
    });
    dlg.SendMessage(WM_SYSCOMMAND, nCommand);  // returns when the box is closed
    return nSeen;
}

TEST(WindowBehaviour, AboutBoxOpensFromTheMenuAnyNumberOfTimes) {
    test::PlaylistDlgProbe dlg;
    CWinApp app;  // the About box finds its owner as the application's main window
    app.m_pMainWnd = &dlg;
    test::RunModal(dlg, [&] {
        EXPECT_EQ(ShowAboutWith(dlg, IDM_ABOUTBOX), 1);
        EXPECT_EQ(ShowAboutWith(dlg, IDM_ABOUTBOX | 0x000F), 1);  // the low bits are ignored
        EXPECT_EQ(test::FindOwnWindow("About Ovelo"), nullptr);
        EXPECT_TRUE(::IsWindowEnabled(dlg.m_hWnd));
    });
}

TEST(WindowBehaviour, AboutBoxShowsVersionAndOk) {
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        std::string version;
        bool hasOk = false;
        test::WhileModal([&] {
            HWND hAbout = test::FindOwnWindow("About Ovelo");
            if (!hAbout)
                return false;
            for (HWND h = ::GetWindow(hAbout, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
                char text[80] = "";
                ::GetWindowTextA(h, text, sizeof(text));
                if (std::string(text).rfind("Ovelo Version", 0) == 0)
                    version = text;
            }
            HWND hOk = ::GetDlgItem(hAbout, IDOK);
            char okText[8] = "";
            ::GetWindowTextA(hOk, okText, sizeof(okText));
            hasOk = std::string(okText) == "OK";
            ::PostMessageA(hAbout, WM_COMMAND, IDCANCEL, 0);
            return true;
        });
        dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX);
        EXPECT_EQ(version, OVELO_VERSION_LINE);
        EXPECT_TRUE(hasOk);
    });
}

// Posts a key press to whatever has the focus, as the keyboard would.
void PressKey(UINT vk) {
    ::PostMessageA(::GetFocus(), WM_KEYDOWN, vk, 1);
    ::PostMessageA(::GetFocus(), WM_KEYUP, vk, 0xC0000001);
}

TEST(WindowBehaviour, EscapeEndsTheWindowWithCancel) {
    test::PlaylistDlgProbe dlg;
    INT_PTR result = test::RunModal(
        dlg, [] { PressKey(VK_ESCAPE); }, test::Close::ByItself);
    EXPECT_EQ(result, IDCANCEL);
}

TEST(WindowBehaviour, EnterInTheListDriveListOrCheckBoxEndsTheWindow) {
    for (int nID : {IDC_PLAYLIST, IDC_DRIVE_COMBO, IDC_ADD_PREFIX}) {
        SCOPED_TRACE(nID);
        test::PlaylistDlgProbe dlg;
        INT_PTR result = test::RunModal(
            dlg,
            [&] {
                ::SetFocus(dlg.GetDlgItem(nID));
                PressKey(VK_RETURN);
            },
            test::Close::ByItself);
        EXPECT_EQ(result, IDOK);
    }
}

TEST(WindowBehaviour, CloseCommandEndsTheWindow) {
    test::PlaylistDlgProbe dlg;
    INT_PTR result = test::RunModal(
        dlg, [&] { dlg.PostMessage(WM_SYSCOMMAND, SC_CLOSE); }, test::Close::ByItself);
    EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
