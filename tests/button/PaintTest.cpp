// The pictures of each state: face, border, image placement and shift, focus rectangle,
// embossed disabled content, and the parent's pixels.
#include "tests/button/ButtonFixture.h"

#include <string>

namespace button_test {
namespace {

const COLORREF kIdle = RGB(0, 0, 160);
const COLORREF kHot = RGB(0, 128, 0);
const COLORREF kFocus = RGB(128, 0, 128);
const COLORREF kText = RGB(0, 96, 96);
const int kAll = 48 * 40;

class SkinPaint : public ButtonTest {
protected:
    void SetUp() override {
        ButtonTest::SetUp();
        Configure();
    }
    // Faces and caption apart from the system's colours, and an icon with a red middle.
    void Configure() {
        m_button->SetColor(CSkinButton::ColorIdleFace, kIdle, FALSE);
        m_button->SetColor(CSkinButton::ColorHotFace, kHot, FALSE);
        m_button->SetColor(CSkinButton::ColorFocusFace, kFocus, FALSE);
        m_button->SetColor(CSkinButton::ColorIdleText, kText, FALSE);
        m_button->SetIcons(MakeIcon(16, kRed), nullptr);
    }
    const COLORREF m_crLight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF m_crShadow = ::GetSysColor(COLOR_BTNSHADOW);
};

TEST_F(SkinPaint, FlatButtonShowsItsStateInFaceFrameAndShift) {
    const COLORREF kNoFrame = CLR_NONE;
    const struct {
        const char* name;
        BOOL bHover, bChecked;
        UINT nState;
        BYTE nPressedStyle;
        COLORREF crFace, crTopLeft, crBottomRight;
        int dx, dy;
    } cases[] = {
        {"rest", FALSE, FALSE, 0, 0, kIdle, kNoFrame, kNoFrame, 0, 0},
        // Focused by the mouse: keyboard cues hidden.
        {"focused", FALSE, FALSE, ODS_FOCUS | ODS_NOFOCUSRECT, 0, kFocus, kNoFrame, kNoFrame, 0, 0},
        {"hover", TRUE, FALSE, 0, 0, kHot, m_crLight, m_crShadow, 0, 0},
        {"pressed", TRUE, FALSE, ODS_SELECTED, 0, kHot, m_crShadow, m_crLight, 1, 1},
        {"pressed down", FALSE, FALSE, ODS_SELECTED, 1, kHot, m_crShadow, m_crLight, 0, 2},
        {"refused style", FALSE, FALSE, ODS_SELECTED, 2, kHot, m_crShadow, m_crLight, 0, 2},
        {"checked", FALSE, TRUE, 0, 0, kHot, m_crShadow, m_crLight, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bChecked)
            Attach(BS_AUTOCHECKBOX), Configure();
        m_button->SetChecked(c.bChecked, FALSE);
        EXPECT_EQ(m_button->SetPressedStyle(c.nPressedStyle, FALSE),
                  c.nPressedStyle < 2 ? CSkinButton::SkinOk : CSkinButton::SkinBadPressedStyle);
        m_button->m_bHover = c.bHover;
        // At rest through the parent's owner-draw path, as the screen shows it.
        Picture picture = c.name == cases[0].name ? test::PrintClient(*m_button) : Paint(c.nState);
        EXPECT_EQ(picture.At(0, 0), c.crTopLeft == kNoFrame ? c.crFace : c.crTopLeft);
        EXPECT_EQ(picture.At(47, 39), c.crBottomRight == kNoFrame ? c.crFace : c.crBottomRight);
        CRect rcRed = kCentredRed;
        rcRed.OffsetRect(c.dx, c.dy);
        EXPECT_EQ(Str(picture.Extent(kRed)), Str(rcRed));
        // The icon's transparent border, and no focus rectangle on a flat button.
        EXPECT_EQ(picture.At(rcRed.left - 1, rcRed.top), c.crFace);
        for (int y = 1; y < 39; ++y)
            ASSERT_EQ(picture.At(3, y), c.crFace) << y;
    }
}

TEST_F(SkinPaint, RaisedDefaultButtonHasOutlineBorderAndFocusRectangle) {
    Attach(BS_DEFPUSHBUTTON);
    Configure();
    m_button->SetFlat(FALSE, FALSE);
    Picture picture = Paint(ODS_FOCUS);
    const struct {
        int x, y, nSysColor;  // -1: black
    } pixels[] = {{0, 0, -1},
                  {47, 39, -1},
                  {1, 20, COLOR_BTNHIGHLIGHT},
                  {2, 20, COLOR_3DLIGHT},
                  {20, 38, COLOR_3DDKSHADOW},
                  {20, 37, COLOR_BTNSHADOW},
                  {46, 20, COLOR_3DDKSHADOW},
                  {45, 20, COLOR_BTNSHADOW}};
    for (const auto& p : pixels)
        EXPECT_EQ(picture.At(p.x, p.y), p.nSysColor < 0 ? 0 : ::GetSysColor(p.nSysColor))
            << p.x << "," << p.y;
    // The dotted focus rectangle runs 4 pixels inside; nothing is drawn between.
    int nDots = 0;
    for (int x = 4; x < 44; ++x) {
        nDots += picture.At(x, 4) != kFocus;
        EXPECT_EQ(picture.At(x, 3), kFocus) << x;
    }
    EXPECT_GE(nDots, 15);
    EXPECT_EQ(Str(picture.Extent(kRed)), Str(kCentredRed));
}

TEST_F(SkinPaint, BitmapShowsThroughItsMaskAndDisabledImagesAreEmbossed) {
    const struct {
        BOOL bBitmap, bDisabled, bEmboss;
        int cx;       // the image's size
        CRect rcRed;  // where its red middle shows, inside a transparent border 4 wide
    } cases[] = {{FALSE, TRUE, TRUE, 16, kCentredRed},
                 {TRUE, FALSE, TRUE, 16, kCentredRed},
                 {TRUE, TRUE, TRUE, 16, kCentredRed},
                 {TRUE, TRUE, FALSE, 16, kCentredRed},
                 {TRUE, TRUE, TRUE, 54, CRect(1, 0, 47, 40)}};  // larger than the button
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bBitmap) + std::to_string(c.bDisabled) +
                     std::to_string(c.bEmboss) + " " + std::to_string(c.cx));
        if (c.bBitmap) {
            auto [hImage, hMask] = MakeImage(c.cx, kRed);
            EXPECT_EQ(m_button->SetBitmaps(hImage, hMask, nullptr, nullptr), CSkinButton::SkinOk);
        }
        m_button->SetEmbossDisabledBitmap(c.bEmboss, FALSE);
        Picture picture = Paint(c.bDisabled ? ODS_DISABLED : 0);
        const bool bEmbossed = c.bDisabled && c.bEmboss;
        EXPECT_EQ(Str(picture.Extent(kRed)), Str(bEmbossed ? CRect() : c.rcRed));
        // Only the face shows beside the image, embossing only within it.
        EXPECT_EQ(picture.At(c.rcRed.left - 1, c.rcRed.top), kIdle);
        const int nEmboss = picture.Count(m_crShadow) + picture.Count(m_crLight);
        EXPECT_EQ(picture.Count(kIdle) + (bEmbossed ? nEmboss : picture.Count(kRed)), kAll);
        EXPECT_EQ(Str(picture.Extent(m_crShadow)), Str(bEmbossed ? c.rcRed : CRect()));
    }
}

TEST_F(SkinPaint, DisabledCaptionIsEmbossed) {
    m_button->SetIcons(nullptr, nullptr);
    m_button->SetWindowText("Move");
    const Picture enabled = Paint(), disabled = Paint(ODS_DISABLED);
    EXPECT_GT(enabled.Count(kText), 10);
    EXPECT_EQ(disabled.Count(kText), 0);
    // The highlight shows one pixel right and down of the shadow drawn over it.
    const CRect rcLight = disabled.Extent(m_crLight), rcShadow = disabled.Extent(m_crShadow);
    EXPECT_EQ(Str(rcShadow), Str(enabled.Extent(kText)));
    EXPECT_EQ(Str(CRect(rcLight.left, 0, rcLight.right, rcLight.bottom)),
              Str(CRect(rcShadow.left + 1, 0, rcShadow.right + 1, rcShadow.bottom + 1)));
}

TEST_F(SkinPaint, ImagePlacementBesideAndAboveTheCaption) {
    const struct {
        BYTE nAlign;
        const char* pszCaption;
        CRect rcRed, rcTextWithin;
    } cases[] = {
        {CSkinButton::ImageRight, "", CRect(20, 4, 28, 12), CRect()},  // centred, at the top
        {CSkinButton::ImageAbove, "M", CRect(20, 7, 28, 15), CRect(0, 16, 48, 40)},
        {CSkinButton::ImageLeft, "M", CRect(7, 16, 15, 24), CRect(19, 0, 48, 40)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCaption + std::to_string(c.nAlign));
        m_button->SetImageAlign(c.nAlign, FALSE);
        m_button->SetWindowText(c.pszCaption);
        Picture picture = Paint();
        EXPECT_EQ(Str(picture.Extent(kRed)), Str(c.rcRed));
        CRect rcText = picture.Extent(kText), rcUnion;
        ::UnionRect(&rcUnion, &rcText, &c.rcTextWithin);
        EXPECT_EQ(Str(rcUnion), Str(c.rcTextWithin));
    }
}

TEST_F(SkinPaint, CopiedParentBackgroundIsCapturedAgainAfterColourChange) {
    m_button->SetIcons(nullptr, nullptr);
    m_button->ShowWindow(SW_HIDE);
    m_button->SetCopyParentBackground(TRUE, FALSE);
    const COLORREF crFirst = m_parent.m_crBack, crThen = RGB(200, 10, 30);
    const struct {
        COLORREF crParent;
        UINT message;
        COLORREF crExpected;
    } steps[] = {{crFirst, 0, crFirst},
                 {crThen, 0, crFirst},  // the cache still holds the first capture
                 {crThen, WM_SYSCOLORCHANGE, crThen}};
    for (const auto& step : steps) {
        m_parent.m_crBack = step.crParent;
        m_parent.RedrawWindow();
        if (step.message)
            Send(step.message);
        EXPECT_EQ(Paint().Count(step.crExpected), kAll) << step.message;
    }
}

}  // namespace
}  // namespace button_test
