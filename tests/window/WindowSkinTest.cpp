// The window's skin: icon buttons that still run their commands, and the labels' look.
#include "framework/Icon.h"
#include "res/resource.h"
#include "tests/support/Capture.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"
#include "tests/support/Pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The icon resource as the button should show it: centred in a face of cx by cy, with the
// focus rectangle 3 pixels in when bFocus.
test::Picture IconCentredIn(UINT nIconId, int cx, int cy, COLORREF face, bool bFocus = false) {
    const CIcon hIcon(
        static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIconId),
                                        IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR)));
    return test::Capture(
        cx, cy,
        [&](HDC hDC) {
            ::DrawIconEx(hDC, (cx - 32) / 2, (cy - 32) / 2, hIcon, 0, 0, 0, nullptr, DI_NORMAL);
            CRect rcFocus(3, 3, cx - 3, cy - 3);
            if (bFocus)
                ::DrawFocusRect(hDC, rcFocus);
        },
        face);
}

TEST(WindowSkin, ArrowButtonsShowTheirIconsFlatAndStillRunTheirCommands) {
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        const struct {
            int nButton;
            UINT nIcon;
        } buttons[] = {{IDC_MOVE_UP, IDI_MOVE_UP},
                       {IDC_MOVE_DOWN, IDI_MOVE_DOWN},
                       {IDC_CLEAR, IDI_CLEAR},
                       {IDC_REMOVE, IDI_REMOVE}};
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        for (const auto& button : buttons) {
            SCOPED_TRACE("button " + std::to_string(button.nButton));
            // Flat at rest: the face colour to the edges, no frame, the icon in the middle.
            test::Picture shown = test::PrintClient(dlg.GetDlgItem(button.nButton),
                                                    test::kUnpainted, test::Restores::BitmapOnly);
            EXPECT_TRUE(shown == IconCentredIn(button.nIcon, shown.cx, shown.cy, face));
        }
        // Focused, a button shows its focus rectangle once the window shows keyboard cues (as
        // Tab does), and not while the mouse keeps them hidden. Windows tells the children of
        // a dialog so; this platform's dialogs do not, so the test does.
        HWND hUp = dlg.GetDlgItem(IDC_MOVE_UP);
        ::SetFocus(hUp);
        for (bool bCues : {false, true}) {
            SCOPED_TRACE(bCues ? "cues shown" : "cues hidden");
            ::SendMessageA(hUp, WM_UPDATEUISTATE,
                           MAKEWPARAM(bCues ? UIS_CLEAR : UIS_SET, UISF_HIDEFOCUS), 0);
            EXPECT_TRUE(test::PumpUntil([&] { return !::GetUpdateRect(hUp, nullptr, FALSE); }));
            test::Picture shown =
                test::PrintClient(hUp, test::kUnpainted, test::Restores::BitmapOnly);
            EXPECT_TRUE(shown == IconCentredIn(IDI_MOVE_UP, shown.cx, shown.cy, face, bCues));
        }

        // A click reaches the window's command, as a plain button's would.
        dlg.AddRows({"a.mp3", "b.mp3", "c.mp3", "d.mp3"});
        dlg.Select({1});
        const struct {
            int nButton;
            std::vector<std::string> names;
        } clicks[] = {
            {IDC_MOVE_DOWN, {"a.mp3", "c.mp3", "b.mp3", "d.mp3"}},
            {IDC_MOVE_UP, {"a.mp3", "b.mp3", "c.mp3", "d.mp3"}},
            {IDC_REMOVE, {"a.mp3", "c.mp3", "d.mp3"}},
            {IDC_CLEAR, {}},
        };
        for (const auto& click : clicks) {
            SCOPED_TRACE("click on " + std::to_string(click.nButton));
            ::SendMessageA(dlg.GetDlgItem(click.nButton), BM_CLICK, 0, 0);
            EXPECT_EQ(dlg.Names(), click.names);
        }
    });
}

// A label like the title: same size, the dialog's font, white, bold or not.
test::Picture LabelLike(CWnd& dlg, HWND hModel, BOOL bBold) {
    CRect rc;
    ::GetWindowRect(hModel, &rc);
    HWND hStatic = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | SS_LEFT, 0, 0, rc.Width(),
                                     rc.Height(), dlg, nullptr, nullptr, nullptr);
    ::SendMessageA(hStatic, WM_SETFONT, ::SendMessageA(dlg, WM_GETFONT, 0, 0), FALSE);
    CStyledLabel label;
    label.SubclassWindow(hStatic);
    label.SetBackground(RGB(255, 255, 255), 0, FALSE).SetBold(bBold);
    label.SetWindowText("  Create and Edit Playlist");
    test::Picture picture = test::PrintClient(hStatic);
    label.DestroyWindow();
    return picture;
}

TEST(WindowSkin, TitleIsBoldOnWhiteAndTheInstructionsOnWhite) {
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        HWND hTitle = dlg.GetDlgItem(IDC_TITLE_LABEL);
        test::Picture title = test::PrintClient(hTitle);
        EXPECT_TRUE(title == LabelLike(dlg, hTitle, TRUE));
        EXPECT_FALSE(title == LabelLike(dlg, hTitle, FALSE));

        test::Picture info = test::PrintClient(dlg.GetDlgItem(IDC_INFO_LABEL));
        // Two lines of text at the top left; the bottom right corner is background.
        EXPECT_EQ(info.At(info.cx - 2, info.cy - 2), RGB(255, 255, 255));
        EXPECT_GT(info.Count(RGB(0, 0, 0)) + info.Count(::GetSysColor(COLOR_WINDOWTEXT)), 0);
    });
}

}  // namespace
