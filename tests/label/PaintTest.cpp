// The label's pictures: colours and font, backgrounds, text layout, emboss, rotation.
#include "tests/label/LabelFixture.h"

#include <algorithm>

namespace label_test {
namespace {

using LabelPaint = LabelTest;

TEST_F(LabelPaint, NewLabelShowsSystemColoursInItsControlsFont) {
    const COLORREF crText = ::GetSysColor(COLOR_WINDOWTEXT);
    const UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    EXPECT_TRUE(test::PrintClient(m_label) ==
                Expected(::GetSysColor(COLOR_BTNFACE), crText, nFormat));
    m_label.SetBackground(kWhite, 0, FALSE);
    EXPECT_TRUE(test::PrintClient(m_label) == Expected(kWhite, crText, nFormat));
    Bind(SS_CENTERIMAGE, 200, 40, "Label", nullptr);  // a control without a font
    auto hSystem = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    EXPECT_TRUE(test::PrintClient(m_label) == Expected(kWhite, crText, nFormat, hSystem));
    m_label.SetFont(m_tahoma);  // given one later
    EXPECT_TRUE(test::PrintClient(m_label) == Expected(kWhite, crText, nFormat));
}

TEST_F(LabelPaint, GradientHasAtMostAHundredBandsTheLastReachingTheRightEdge) {
    const struct {
        int cx, nBands, nBandWidth;
    } cases[] = {{200, 100, 2}, {50, 50, 1}, {250, 100, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cx);
        Bind(SS_LEFT, c.cx, 20, "", m_tahoma);
        m_label.SetBackground(RGB(255, 0, 0), RGB(0, 0, 255), TRUE);
        Picture picture = test::PrintClient(m_label);
        // From red toward blue in steps of 1/256, truncated.
        const int nStep = 255 * 256 / c.nBands;
        for (int x = 0; x < c.cx; ++x) {
            const int nBand = std::min(x / c.nBandWidth, c.nBands - 1);
            const COLORREF cr = RGB((255 * 256 - nBand * nStep) / 256, 0, nBand * nStep / 256);
            ASSERT_EQ(picture.At(x, 0), cr) << x;
            ASSERT_EQ(picture.At(x, 19), cr) << x;
        }
    }
}

TEST_F(LabelPaint, TextIsLaidOutByTheStaticStyle) {
    const struct {
        DWORD dwStyle;
        LPCSTR pszText;
        UINT nFormat;
    } cases[] = {
        {SS_LEFT, "Words that wrap", DT_WORDBREAK},
        {SS_CENTER, "Words that wrap", DT_CENTER | DT_WORDBREAK},
        {SS_RIGHT, "Words that wrap", DT_RIGHT | DT_WORDBREAK},
        {SS_LEFTNOWORDWRAP, "Words that wrap", DT_LEFT},
        {SS_LEFT, "A\tB", DT_WORDBREAK | DT_EXPANDTABS},
        {SS_CENTERIMAGE, "One line", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        {SS_CENTERIMAGE | SS_RIGHT, "Two\r\nlines", DT_CENTER},
    };
    m_label.SetBackground(kWhite, 0, FALSE).SetTextColor(kText);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszText);
        Bind(c.dwStyle, 70, 50, c.pszText, m_tahoma);
        Picture expected = Expected(kWhite, kText, c.nFormat);
        EXPECT_TRUE(test::PrintClient(m_label) == expected);
        if (c.nFormat != DT_WORDBREAK) {  // the case tells the formats apart
            EXPECT_FALSE(expected == Expected(kWhite, kText, DT_WORDBREAK));
        }
    }
}

TEST_F(LabelPaint, EmbossedCopyLiesOnePixelOffOverTheText) {
    const COLORREF kEmboss = RGB(0, 0, 255);
    m_label.SetBackground(kWhite, 0, FALSE).SetTextColor(kText).SetEmbossColor(kEmboss);
    const Picture plain = test::PrintClient(m_label);
    ASSERT_GT(plain.Count(kText), 0);
    for (int d : {1, -1}) {
        SCOPED_TRACE(d);
        m_label.SetEmboss(TRUE, d == 1);
        const Picture embossed = test::PrintClient(m_label);
        for (int y = 0; y < plain.cy; ++y)
            for (int x = 0; x < plain.cx; ++x) {
                if (plain.At(x, y) == kText) {
                    ASSERT_EQ(embossed.At(x + d, y + d), kEmboss) << x << "," << y;
                } else {
                    ASSERT_NE(embossed.At(x, y), kText) << x << "," << y;
                }
            }
        EXPECT_GT(embossed.Count(kText), 0);  // the first copy shows along one side
    }
}

TEST_F(LabelPaint, RotatedTextRunsUpFromTheCentreAndLeavesTheDcAsItWas) {
    for (BOOL bTransparent : {FALSE, TRUE}) {
        SCOPED_TRACE(bTransparent);
        Bind(SS_LEFT, 60, 120, "Upward", m_tahoma);
        m_label.SetTransparentMode(bTransparent).SetTextColor(kText).SetAngle(90, TRUE);
        POINT ptOrg = {};
        UINT nAlign = 0;
        const Picture picture = test::Capture(70, 130, [&](HDC hDC) {
            ::SetViewportOrgEx(hDC, 5, 5, nullptr);
            ::SetTextAlign(hDC, TA_RIGHT | TA_BOTTOM);
            m_label.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
            ::GetViewportOrgEx(hDC, &ptOrg);
            nAlign = ::GetTextAlign(hDC);
        });
        EXPECT_EQ(ptOrg.x, 5);
        EXPECT_EQ(ptOrg.y, 5);
        EXPECT_EQ(nAlign, static_cast<UINT>(TA_RIGHT | TA_BOTTOM));
        // The baseline rises from the centre (35, 65); the letters' tops face left.
        const CRect rcInk = picture.Extent(kText);
        EXPECT_GT(rcInk.Height(), 2 * rcInk.Width()) << Str(rcInk);
        EXPECT_LE(rcInk.bottom, 65);
        EXPECT_GE(rcInk.bottom, 60);
        EXPECT_LT(rcInk.left, 35);
        EXPECT_LE(rcInk.right, 40);
    }
}

TEST_F(LabelPaint, TransparentLabelDrawsOverTheParentAndNewTextShowsAtOnce) {
    m_label.SetTextColor(kText).SetTransparentMode(TRUE);
    Show();  // the parent's two colours meet at x = 100, under the label
    Picture screen = test::Screen(m_label);
    const int nParent = screen.Count(kParentLeft) + screen.Count(kParentRight);
    EXPECT_GT(screen.Count(kParentLeft), 0);
    EXPECT_GT(screen.Count(kParentRight), 0);
    EXPECT_GT(screen.Count(kText), 0);
    EXPECT_EQ(nParent + screen.Count(kText), screen.cx * screen.cy);
    m_label.SetLabelText("");  // the parent's picture replaces the old text
    screen = test::Screen(m_label);
    EXPECT_EQ(screen.Count(kParentLeft) + screen.Count(kParentRight), screen.cx * screen.cy);

    m_label.SetTransparentMode(FALSE).SetBackground(kWhite, 0, FALSE);
    EXPECT_TRUE(m_label.GetExStyle() & WS_EX_TRANSPARENT);  // kept, and harmless
    ::SetWindowTextA(m_label, "Label");  // the ordinary setter, too, shows the label's own look
    screen = test::Screen(m_label);
    EXPECT_GT(screen.Count(kText), 0);
    EXPECT_EQ(screen.Count(kWhite) + screen.Count(kText), screen.cx * screen.cy);
}

}  // namespace
}  // namespace label_test
