// Many paints in every state and many icon changes leave the handle space as it was.
#include "tests/button/ButtonFixture.h"

#include "tests/support/GdiPressure.h"

namespace button_test {
namespace {

TEST_F(ButtonTest, ManyPaintsAndIconChangesLeakNoHandles) {
    m_button->SetWindowText("Go");
    m_button->SetIcons(MakeIcon(16, kRed), nullptr);
    const Picture before = Paint();
    const struct {
        BOOL bFlat, bHover, bCopyBackground;
        UINT nState;
    } states[] = {{TRUE, FALSE, FALSE, 0},
                  {TRUE, TRUE, FALSE, 0},
                  {TRUE, TRUE, FALSE, ODS_SELECTED},
                  {FALSE, FALSE, FALSE, ODS_FOCUS},
                  {FALSE, FALSE, FALSE, ODS_SELECTED | ODS_FOCUS},
                  {TRUE, FALSE, FALSE, ODS_DISABLED},
                  {TRUE, FALSE, TRUE, 0}};
    {
        test::GdiSqueeze squeeze;
        CMemoryDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap bitmap;
        bitmap.CreateBitmap(48, 40, 1, 32, nullptr);
        CSelectGuard select(dc, bitmap);
        // Each state about 2,900 times per image kind: more than the handles left free.
        for (bool bBitmap : {false, true}) {
            if (bBitmap) {
                auto [hImage, hMask] = MakeImage(16, kRed);
                m_button->SetBitmaps(hImage, hMask, nullptr, nullptr);
            }
            for (int i = 0; i < 20000; ++i) {
                const auto& state = states[i % 7];
                m_button->SetFlat(state.bFlat, FALSE);
                m_button->m_bHover = state.bHover;
                m_button->SetCopyParentBackground(state.bCopyBackground, FALSE);
                DRAWITEMSTRUCT dis = {
                    ODT_BUTTON,     kId, 0, ODA_DRAWENTIRE, state.nState, *m_button, dc,
                    {0, 0, 48, 40}, 0};
                m_button->DrawItem(&dis);
            }
        }
        for (int i = 0; i < 1000; ++i) {
            const int nIdle = i % 2 ? CSkinButton::IdleIconGrey : CSkinButton::IdleIconDark;
            ASSERT_EQ(m_button->SetIcons(MakeIcon(32, kRed), CSkinButton::IdleIconHandle(nIdle)),
                      CSkinButton::SkinOk);
        }
        EXPECT_TRUE(test::CanStillCreateGdiObjects());
    }
    m_button->SetFlat(TRUE, FALSE);
    m_button->m_bHover = FALSE;
    m_button->SetIcons(MakeIcon(16, kRed), nullptr);
    EXPECT_TRUE(Paint() == before);
}

}  // namespace
}  // namespace button_test
