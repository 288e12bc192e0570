// The picture: edge, bar, the text and its two colours, alignment, layouts.
#include "tests/progress/ProgressFixture.h"

namespace progress_test {
namespace {

using ProgressPaint = ProgressTest;

const CRect kR(2, 2, 202, 22);  // the bar area inside the edge

// Ink [a, b) along the text from where it starts, and its advance, of text drawn in font
// hFont: across, or turned a quarter left, as a vertical bar writes (a font's pictures of
// its letters may differ between the two).
struct Ink {
    int a, b, cx;
};
Ink MeasureInk(HFONT hFont, LPCSTR pszText, bool bUpward = false) {
    LOGFONTA lf = {};
    ::GetObjectA(hFont, sizeof(lf), &lf);
    lf.lfEscapement = lf.lfOrientation = bUpward ? 900 : 0;
    CFont font;
    font.CreateFontIndirect(&lf);
    const CPoint start = bUpward ? CPoint(2, 298) : CPoint(0, 0);
    SIZE ext = {};
    Picture picture = Capture(bUpward ? 40 : 300, bUpward ? 300 : 40, [&](HDC hDC) {
        CSelectGuard guard(hDC, font);
        ::GetTextExtentPoint32A(hDC, pszText, lstrlenA(pszText), &ext);
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, kText);
        ::TextOutA(hDC, start.x, start.y, pszText, lstrlenA(pszText));
    });
    CRect rc = picture.Extent(kText);
    return bUpward ? Ink{start.y - rc.bottom, start.y - rc.top, ext.cx}
                   : Ink{rc.left, rc.right, ext.cx};
}

TEST_F(ProgressPaint, PercentageIsTheRoundedShareOfTheRange) {
    const struct {
        int nUpper, nPos;
        LPCSTR pszShown, pszNeighbour;
    } cases[] = {
        {100, 0, "0%", "1%"}, {100, 45, "45%", "46%"}, {3, 1, "33%", "34%"}, {3, 2, "67%", "66%"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszShown);
        Send(PPM_SHOWPERCENT, TRUE);
        Send(PBM_SETRANGE32, 0, c.nUpper);
        Send(PBM_SETPOS, c.nPos);
        Picture percent = Print();
        ShowText(c.pszShown);
        EXPECT_TRUE(Print() == percent);
        ShowText(c.pszNeighbour);
        EXPECT_FALSE(Print() == percent);
    }
}

TEST_F(ProgressPaint, FlatSunkenEdgeSurroundsTheBarArea) {
    UseTestColors();
    ShowText("");
    Picture picture = Print();
    const COLORREF crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    for (int x : {0, 100, 203}) {
        EXPECT_EQ(picture.At(x, 0), crShadow);
        EXPECT_EQ(picture.At(x, 23), crShadow);
    }
    for (int y : {0, 12, 23}) {
        EXPECT_EQ(picture.At(0, y), crShadow);
        EXPECT_EQ(picture.At(203, y), crShadow);
    }
    EXPECT_EQ(picture.At(1, 12), crFace);
    EXPECT_EQ(picture.At(202, 12), crFace);
    EXPECT_EQ(picture.At(100, 1), crFace);
    EXPECT_EQ(Str(picture.Extent(kBk)), Str(kR));
}

TEST_F(ProgressPaint, TextChangesColourWhereItCrossesTheBarsEnd) {
    UseTestColors();
    ShowText("WWWWWWWWWW");
    Send(PBM_SETPOS, 45);  // the end lies at 2 + 200 x 0.45 = 92
    Picture picture = Print();
    EXPECT_EQ(picture.At(91, kR.top), kBar);
    EXPECT_EQ(picture.At(92, kR.top), kBk);
    CRect rcBarText = picture.Extent(kBarText), rcText = picture.Extent(kText);
    EXPECT_FALSE(rcBarText.IsRectEmpty());
    EXPECT_FALSE(rcText.IsRectEmpty());
    EXPECT_LE(rcBarText.right, 92);
    EXPECT_GE(rcText.left, 92);
    for (int y = kR.top; y < kR.bottom; ++y)
        for (int x = kR.left; x < kR.right; ++x)
            ASSERT_TRUE(picture.At(x, y) == (x < 92 ? kBar : kBk) ||
                        picture.At(x, y) == (x < 92 ? kBarText : kText))
                << x << "," << y;
}

TEST_F(ProgressPaint, TextSitsTwoPixelsInsideAtTheStartAndThreeAtTheEnd) {
    UseTestColors();
    ShowText("WWWW");
    Ink ink = MeasureInk(m_font, "WWWW");
    Send(PPM_SETTEXTALIGN, 0);
    EXPECT_EQ(Print().Extent(kText).left, kR.left + 2 + ink.a);
    Send(PPM_SETTEXTALIGN, 2);
    EXPECT_EQ(Print().Extent(kText).right, kR.right - 3 - ink.cx + ink.b);
    Send(PPM_SETTEXTALIGN, 7);
    EXPECT_EQ(Print().Extent(kText).left, kR.left + (kR.Width() - ink.cx) / 2 + ink.a);
}

TEST_F(ProgressPaint, MarqueeBlockTrailsTheEndByItsSize) {
    UseTestColors();
    Send(PBM_SETMARQUEE, TRUE, 100000);
    Send(PBM_SETPOS, 60);  // end at 2 + 120, block of 40
    Picture picture = Print();
    EXPECT_EQ(Str(picture.Extent(kBar)), Str(CRect(82, kR.top, 122, kR.bottom)));
    EXPECT_EQ(picture.At(81, kR.top), kBk);
    EXPECT_EQ(picture.At(122, kR.top), kBk);
    Send(PBM_SETMARQUEE, FALSE);
}

TEST_F(ProgressPaint, PositionOutsideTheRangeKeepsTheBarInsideTheEdge) {
    UseTestColors();
    ShowText("");
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    Send(PBM_SETPOS, 100);
    Send(PBM_SETRANGE32, 0, 50);
    Picture picture = Print();
    EXPECT_EQ(Str(picture.Extent(kBar)), Str(kR));
    EXPECT_EQ(picture.At(202, 12), crFace);

    Send(PBM_SETRANGE32, 50, 100);  // the marquee may reach 120: 140% of this range
    Send(PBM_SETMARQUEE, TRUE, 100000);
    Send(PBM_SETPOS, 120);
    picture = Print();
    EXPECT_EQ(Str(picture.Extent(kBk)), Str(kR));
    EXPECT_EQ(picture.At(202, 12), crFace);
    Send(PBM_SETMARQUEE, FALSE);
}

TEST_F(ProgressPaint, PartialClipPaintsTheSamePixelsThere) {
    UseTestColors();
    ShowText("WWWWWWWWWW");
    Send(PBM_SETPOS, 45);
    Picture whole = Print();
    CRgn rgn;
    rgn.CreateRectRgnIndirect(CRect(100, 5, 204, 24));
    Picture part = Print(rgn);
    for (int y = 0; y < whole.cy; ++y)
        for (int x = 0; x < whole.cx; ++x)
            ASSERT_EQ(part.At(x, y), x >= 100 && y >= 5 ? whole.At(x, y) : kUnpainted)
                << x << "," << y;
    // In a larger DC the bar covers its own client area and nothing beside it.
    Picture wide = Capture(whole.cx + 20, whole.cy + 10, [&](HDC hDC) {
        Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
    });
    EXPECT_EQ(wide.Count(kUnpainted), (whole.cx + 20) * (whole.cy + 10) - whole.cx * whole.cy);
}

TEST_F(ProgressPaint, ControlWithoutFontUsesItsParentsFont) {
    ShowText("WWWW");
    Picture own = Print();
    m_bar.SetFont(nullptr, FALSE);
    EXPECT_FALSE(Print() == own);
    m_parent.m_hFont = m_font;
    EXPECT_TRUE(Print() == own);
}

using ProgressVertical = ProgressTest;

TEST_F(ProgressVertical, BarGrowsFromTheBottomAndTextReadsUpward) {
    m_bar.DestroyWindow();
    CreateBar(PBS_VERTICAL, 24, 204);
    UseTestColors();
    ShowText("");
    Send(PBM_SETPOS, 25);  // 50 of 200 pixels
    Picture picture = Print();
    EXPECT_EQ(Str(picture.Extent(kBar)), Str(CRect(2, 152, 22, 202)));
    EXPECT_EQ(Str(picture.Extent(kBk)), Str(CRect(2, 2, 22, 152)));

    // Starting at the bottom, upward text ends its first 3 pixels above the bottom.
    ShowText("WWWW");
    Send(PBM_SETPOS, 0);
    Send(PPM_SETTEXTALIGN, 0);
    Ink ink = MeasureInk(m_font, "WWWW", true);
    CRect rcInk = Print().Extent(kText);
    EXPECT_EQ(rcInk.bottom, 202 - 3 - ink.a);
    EXPECT_EQ(rcInk.Height(), ink.b - ink.a);
    EXPECT_LT(rcInk.Width(), rcInk.Height());
}

}  // namespace
}  // namespace progress_test
