// A parent window with one styled label, bound to a plain static the way a dialog binds
// its controls, and the pictures the label should paint.
#pragma once

#include "controls/label/StyledLabel.h"
#include "tests/support/Capture.h"
#include "tests/support/Pump.h"

#include <gtest/gtest.h>

namespace label_test {

using test::Picture;
using test::Str;

const UINT kLabelId = 1007;
const COLORREF kText = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kParentLeft = RGB(0, 128, 0);  // the parent's picture, left and right of x = 100
const COLORREF kParentRight = RGB(0, 0, 128);

// The label's state opened up.
class LabelProbe : public CStyledLabel {
public:
    using CStyledLabel::m_font;
    using CStyledLabel::m_logFont;
};

// Paints two colours of its own and keeps the last NM_LABELCLICK it got.
class LabelParent : public CWnd {
public:
    NMHDR m_click = {};
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLabelClick(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        LOGFONTA lf = {};
        lf.lfHeight = -16;
        lf.lfQuality = NONANTIALIASED_QUALITY;  // pure text colours
        lstrcpyA(lf.lfFaceName, "Tahoma");
        m_tahoma.CreateFontIndirect(&lf);
        ASSERT_TRUE(m_parent.CreateEx(0, test::TestWindowClass(), "parent", WS_POPUP,
                                      CRect(0, 0, 300, 160), nullptr, 0));
        Bind(SS_CENTERIMAGE, 200, 40, "Label", m_tahoma);
    }

    // A new static with font hFont (or none), bound to the label, which keeps its settings.
    void Bind(DWORD dwStyle, int cx, int cy, LPCSTR pszText, HFONT hFont) {
        if (m_label.m_hWnd)
            m_label.DestroyWindow();
        HWND hWnd =
            ::CreateWindowExA(0, "STATIC", pszText, WS_CHILD | WS_VISIBLE | dwStyle, 10, 10, cx, cy,
                              m_parent, reinterpret_cast<HMENU>(kLabelId), nullptr, nullptr);
        ::SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), 0);
        ASSERT_TRUE(m_label.SubclassWindow(hWnd));
    }

    // What the label should show: crBk, then its text in crText, hFont and nFormat.
    Picture Expected(COLORREF crBk, COLORREF crText, UINT nFormat, HFONT hFont = nullptr) {
        CRect rc;
        m_label.GetClientRect(rc);
        const CString text = m_label.GetWindowText();
        return test::Capture(
            rc.Width(), rc.Height(),
            [&](HDC hDC) {
                CSelectGuard guard(hDC, hFont ? hFont : m_tahoma);
                ::SetBkMode(hDC, TRANSPARENT);
                ::SetTextColor(hDC, crText);
                ::DrawTextA(hDC, text, text.GetLength(), rc, nFormat);
            },
            crBk);
    }

    void Show() {
        m_parent.ShowWindow(SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_parent);
        test::PumpMessages();
    }

    CFont m_tahoma;
    LabelParent m_parent;
    LabelProbe m_label;
};

}  // namespace label_test
