// Icons from resources and handles, the derived idle icons, and who releases what.
#include "tests/button/ButtonFixture.h"

#include "res/resource.h"

#include <string>

namespace button_test {
namespace {

Picture ReadBitmap(HBITMAP hBitmap) {
    BITMAP bm = {};
    ::GetObjectA(hBitmap, sizeof(bm), &bm);
    return test::Capture(bm.bmWidth, bm.bmHeight, [&](HDC hDC) {
        CMemoryDC dc;
        dc.CreateCompatibleDC(hDC);
        CSelectGuard select(dc, hBitmap);
        ::SetBkColor(hDC, RGB(255, 255, 255));  // a mask's 1 bits
        ::BitBlt(hDC, 0, 0, bm.bmWidth, bm.bmHeight, dc, 0, 0, SRCCOPY);
    });
}

// The colour and mask pictures of an icon; empty when it is gone.
std::pair<Picture, Picture> ReadIcon(HICON hIcon) {
    ICONINFO info = {};
    if (!::GetIconInfo(hIcon, &info))
        return {};
    const CBitmap colour(info.hbmColor), mask(info.hbmMask);
    return {ReadBitmap(colour), ReadBitmap(mask)};
}

TEST(DerivedIcon, GreyAndDarkCopiesKeepBlackAndTheMask) {
    const struct {
        HICON (*pfnMake)(HICON);
        COLORREF crIn, crOut;
    } cases[] = {{CSkinButton::MakeGreyIcon, RGB(10, 20, 30), RGB(18, 18, 18)},
                 {CSkinButton::MakeDarkIcon, RGB(255, 128, 1), RGB(191, 96, 0)}};
    for (const auto& c : cases) {
        const CIcon hIcon(MakeIcon(16, c.crIn)), hDerived(c.pfnMake(hIcon));
        const auto [colour, mask] = ReadIcon(hDerived);
        ASSERT_EQ(colour.cx, 16);
        const COLORREF p = colour.At(8, 8);  // grey may come one level darker
        EXPECT_TRUE(p == c.crOut || (c.crOut == RGB(18, 18, 18) && p == RGB(17, 17, 17))) << p;
        EXPECT_EQ(colour.At(0, 0), RGB(0, 0, 0));
        EXPECT_TRUE(mask == ReadIcon(hIcon).second);
    }
}

TEST(DerivedIcon, ShadeColorScalesOnlyByFactorsUpToOne) {
    const COLORREF cr = RGB(200, 100, 41);
    const std::pair<double, COLORREF> cases[] = {
        {0, cr}, {1.5, cr}, {-1, cr}, {1, RGB(0, 0, 0)}, {0.25, RGB(150, 75, 30)}};
    for (const auto& [factor, crExpected] : cases)
        EXPECT_EQ(CSkinButton::ShadeColor(cr, factor), crExpected) << factor;
}

TEST_F(ButtonTest, IconsFromResourcesRecordTheirSize) {
    EXPECT_EQ(m_button->SetIconsFromResources(IDI_MOVE_UP, CSkinButton::IdleIconGrey),
              CSkinButton::SkinOk);
    for (const SkinIcon& icon : m_button->m_icons)
        EXPECT_EQ(Str(CRect(0, 0, icon.cx, icon.cy)), Str(CRect(0, 0, 32, 32)));
}

TEST_F(ButtonTest, MonochromeIconGivesNoIdleIconAndNoImages) {
    const BYTE bits[2 * 32] = {};  // the AND mask over the XOR image, 16 x 16 each
    HBITMAP hMask = ::CreateBitmap(16, 32, 1, 1, bits);
    ICONINFO info = {TRUE, 0, 0, hMask, nullptr};
    HICON hMono = ::CreateIconIndirect(&info);
    ::DeleteObject(hMask);
    EXPECT_EQ(m_button->SetIcons(hMono, CSkinButton::IdleIconHandle(CSkinButton::IdleIconGrey)),
              CSkinButton::SkinBadIcon);
    EXPECT_EQ(m_button->m_icons[0].hIcon, nullptr);
    EXPECT_EQ(m_button->m_icons[1].hIcon, nullptr);
    EXPECT_FALSE(::GetIconInfo(hMono, &info));  // owned, so released with the failure
}

TEST_F(ButtonTest, IconsPassedAgainStayValidAndAreReleasedOnce) {
    const struct {
        int nHot, nIdle, nHotAgain, nIdleAgain;  // which icon, -1 for none
    } cases[] = {{0, 0, 0, 0}, {0, 1, 1, 0}, {0, -1, 0, -1}, {0, 1, 1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.nIdle) + std::to_string(c.nHotAgain) +
                     std::to_string(c.nIdleAgain));
        HICON icons[2] = {MakeIcon(16, kRed), MakeIcon(16, RGB(0, 0, 255))};
        auto icon = [&](int i) { return i < 0 ? nullptr : icons[i]; };
        EXPECT_EQ(m_button->SetIcons(icon(c.nHot), icon(c.nIdle)), CSkinButton::SkinOk);
        EXPECT_EQ(m_button->SetIcons(icon(c.nHotAgain), icon(c.nIdleAgain)), CSkinButton::SkinOk);
        EXPECT_EQ(ReadIcon(icons[c.nHotAgain]).first.cx, 16);
        m_button->FreeImages(TRUE);
        EXPECT_EQ(ReadIcon(icons[0]).first.cx, 0);
        const bool bSecondGiven = c.nIdle == 1 || c.nHotAgain == 1 || c.nIdleAgain == 1;
        EXPECT_EQ(ReadIcon(icons[1]).first.cx, bSecondGiven ? 0 : 16);
        if (!bSecondGiven)
            ::DestroyIcon(icons[1]);
    }
}

TEST_F(ButtonTest, SharedMaskAndBitmapsPassedAgainStayUntilReplaced) {
    auto [hImage, hMask] = MakeImage(16, kRed);
    auto [hIdle, hIdleMask] = MakeImage(16, RGB(0, 0, 255));
    ::DeleteObject(hIdleMask);
    BITMAP bm;
    auto alive = [&bm](HBITMAP h) { return ::GetObjectA(h, sizeof(bm), &bm) != 0; };
    // One mask for both images; then the hot pair again, which keeps it while the idle goes.
    EXPECT_EQ(m_button->SetBitmaps(hImage, hMask, hIdle, hMask), CSkinButton::SkinOk);
    EXPECT_EQ(m_button->SetBitmaps(hImage, hMask, nullptr, nullptr), CSkinButton::SkinOk);
    EXPECT_TRUE(alive(hImage) && alive(hMask));
    EXPECT_FALSE(alive(hIdle));
    EXPECT_EQ(m_button->SetIcons(MakeIcon(16, kRed), nullptr), CSkinButton::SkinOk);
    EXPECT_FALSE(alive(hImage) || alive(hMask));
}

}  // namespace
}  // namespace button_test
