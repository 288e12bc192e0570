// A parent window with one skinned button, its members opened up, and the images the
// button tests draw with.
#pragma once

#include "controls/button/SkinButton.h"
#include "tests/support/Capture.h"
#include "tests/support/Pump.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace button_test {

using test::Picture;
using test::Str;

const int kId = 1001;
const COLORREF kRed = RGB(255, 0, 0);
const CRect kCentredRed(20, 16, 28, 24);  // the red middle of a centred 16 x 16 image
const UINT kMenuNotify = WM_APP + 5;

class Probe : public CSkinButton {
public:
    using CSkinButton::m_bCheckMode;
    using CSkinButton::m_bDefault;
    using CSkinButton::m_bHover;
    using CSkinButton::m_icons;
    using CSkinButton::m_szUrl;
};

// Fills its background with m_crBack; puts item 502 first in a submenu it is told of.
class Parent : public CWnd {
public:
    COLORREF m_crBack = RGB(10, 200, 30);
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnMenuNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// A cx x cx image, crInner inside a black border 4 wide, and its mask, white in the border.
std::pair<HBITMAP, HBITMAP> MakeImage(int cx, COLORREF crInner);
// The same as an icon, its border transparent.
HICON MakeIcon(int cx, COLORREF crInner);

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override;
    // A new m_button, attached to a new 48 x 40 button of this style at (10, 10).
    void Attach(DWORD dwStyle);
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return m_button->SendMessage(message, wParam, lParam);
    }
    // The button painted in nState (ODS_ flags) into a memory bitmap.
    Picture Paint(UINT nState = 0);
    // Dispatches pending messages, the button's through its PreTranslateMessage first.
    void Pump();

    Parent m_parent;
    std::unique_ptr<Probe> m_button;
};

}  // namespace button_test
