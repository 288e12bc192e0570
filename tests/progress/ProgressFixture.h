// A parent window with one text progress bar, and headless pictures of the bar.
#pragma once

#include "controls/progress/PercentProgressCtrl.h"
#include "framework/DC.h"
#include "tests/support/Capture.h"
#include "tests/support/Pump.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace progress_test {

// Distinct colours for the four parts of the picture.
const COLORREF kBar = RGB(0, 160, 0);
const COLORREF kBk = RGB(0, 0, 200);
const COLORREF kText = RGB(255, 0, 0);
const COLORREF kBarText = RGB(255, 255, 0);
using test::Capture;
using test::kUnpainted;
using test::Picture;
using test::Str;

// Answers WM_GETFONT with a font of the test's choice.
class FontParent : public CWnd {
public:
    HFONT m_hFont = nullptr;
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hFont); }
    DECLARE_MESSAGE_MAP()
};

// The bar with its kept paint surface in view.
class ProbeBar : public CPercentProgressCtrl {
public:
    using CPercentProgressCtrl::m_paintBuffer;
};

class ProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&icc);
        LOGFONTA lf = {};
        lf.lfHeight = -16;
        lf.lfWeight = FW_BOLD;
        lf.lfQuality = NONANTIALIASED_QUALITY;
        lstrcpyA(lf.lfFaceName, "Tahoma");
        m_font.CreateFontIndirect(&lf);
        ASSERT_TRUE(m_parent.CreateEx(0, test::TestWindowClass(), "parent",
                                      WS_POPUP | WS_CLIPCHILDREN, CRect(0, 0, 400, 300), nullptr,
                                      0));
        // The bar area R is then 200 pixels long, inside a 2-pixel edge.
        CreateBar(0, 204, 24);
    }

    void CreateBar(DWORD dwStyle, int cx, int cy) {
        ASSERT_TRUE(m_bar.CreateEx(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | dwStyle,
                                   CRect(10, 10, 20, 20), &m_parent, 1016));
        // The platform's class may add a border outside the client area.
        CRect rcWindow, rcClient;
        m_bar.GetWindowRect(rcWindow);
        m_bar.GetClientRect(rcClient);
        ::SetWindowPos(m_bar, nullptr, 0, 0, cx + rcWindow.Width() - rcClient.Width(),
                       cy + rcWindow.Height() - rcClient.Height(), SWP_NOMOVE | SWP_NOZORDER);
        m_bar.SetFont(m_font, FALSE);
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return m_bar.SendMessage(message, wParam, lParam);
    }

    void UseTestColors() {
        Send(PBM_SETBARCOLOR, 0, kBar);
        Send(PBM_SETBKCOLOR, 0, kBk);
        Send(PPM_SETTEXTCOLOR, 0, kText);
        Send(PPM_SETBARTEXTCOLOR, 0, kBarText);
    }

    // Shows the window text instead of the percentage.
    void ShowText(LPCSTR pszText) {
        Send(PPM_SHOWPERCENT, FALSE);
        m_bar.SetWindowText(pszText);
    }

    // Prints the client area through WM_PRINTCLIENT, into a DC limited to hClip when
    // given; the DC must get its font and bitmap back.
    Picture Print(HRGN hClip = nullptr) {
        CRect rc;
        m_bar.GetClientRect(rc);
        return Capture(rc.Width(), rc.Height(), [&](HDC hDC) {
            HGDIOBJ hFont = ::GetCurrentObject(hDC, OBJ_FONT);
            HGDIOBJ hBitmap = ::GetCurrentObject(hDC, OBJ_BITMAP);
            if (hClip)
                ::SelectClipRgn(hDC, hClip);
            Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
            EXPECT_EQ(::GetCurrentObject(hDC, OBJ_FONT), hFont);
            EXPECT_EQ(::GetCurrentObject(hDC, OBJ_BITMAP), hBitmap);
        });
    }

    CFont m_font;  // Tahoma 16 px bold, not smoothed: pure text colours
    FontParent m_parent;
    ProbeBar m_bar;
};

}  // namespace progress_test
