// Paints and font rebuilds at scale leave every GDI handle they made released.
#include "tests/label/LabelFixture.h"
#include "tests/support/GdiPressure.h"

namespace label_test {
namespace {

using LabelHandles = LabelTest;

TEST_F(LabelHandles, PaintsAndFontRebuildsLeaveNoHandlesBehind) {
    m_label.SetTextColor(kText);
    Show();
    const LOGFONTA lfFirst = m_label.m_logFont;
    const struct {
        LPCSTR pszMode;
        COLORREF crEnd;
        BOOL bGradient, bTransparent;
    } modes[] = {{"solid", 0, FALSE, FALSE},
                 {"gradient", RGB(0, 0, 255), TRUE, FALSE},
                 {"transparent", 0, FALSE, TRUE}};
    test::GdiSqueeze squeeze;
    for (const auto& m : modes) {
        SCOPED_TRACE(m.pszMode);
        m_label.SetTransparentMode(m.bTransparent).SetBackground(kWhite, m.crEnd, m.bGradient);
        const Picture before = test::PrintClient(m_label);
        for (int i = 0; i < 20000; ++i)
            m_label.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_TRUE(test::PrintClient(m_label) == before);
    }
    for (int i = 0; i < 1000; ++i)
        m_label.SetBold(i % 2).SetPointSize(8 + i % 10);
    m_label.SetLogFont(lfFirst).SetTransparentMode(FALSE).SetBackground(kWhite, 0, FALSE);
    EXPECT_TRUE(test::PrintClient(m_label) ==
                Expected(kWhite, kText, DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    EXPECT_TRUE(test::CanStillCreateGdiObjects());
}

}  // namespace
}  // namespace label_test
