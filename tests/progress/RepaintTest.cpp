// Repainting on screen: at once on every change, never on erase, and without
// leaving GDI handles behind.
#include "tests/progress/ProgressFixture.h"
#include "tests/support/GdiPressure.h"

namespace progress_test {
namespace {

WNDPROC g_pfnBar = nullptr;
int g_nPaints = 0;

LRESULT CALLBACK CountPaints(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT)
        ++g_nPaints;
    return ::CallWindowProcA(g_pfnBar, hWnd, message, wParam, lParam);
}

// The bar on a visible window, its paints counted.
class ProgressRepaint : public ProgressTest {
protected:
    void SetUp() override {
        ProgressTest::SetUp();
        m_parent.ShowWindow(SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_parent);
        test::PumpMessages();
        g_pfnBar = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(m_bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountPaints)));
        g_nPaints = 0;
    }
    void TearDown() override {
        ::SetWindowLongPtrA(m_bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnBar));
    }
};

TEST_F(ProgressRepaint, EveryChangeRepaintsAtOnceAndNothingElseDoes) {
    const struct {
        UINT nMessage;
        WPARAM wParam;
        LPARAM lParam;
        int nPaints;
    } steps[] = {
        {PBM_SETPOS, 30, 0, 1},
        {PBM_DELTAPOS, 5, 0, 1},
        {PBM_STEPIT, 0, 0, 1},
        {PBM_SETBARCOLOR, 0, kBar, 1},
        {PBM_SETBKCOLOR, 0, kBk, 1},
        {PPM_SETTEXTCOLOR, 0, kText, 1},
        {PPM_SETBARTEXTCOLOR, 0, kBarText, 1},
        {PPM_SHOWPERCENT, FALSE, 0, 1},
        {PPM_SETTEXTALIGN, 0, 0, 1},
        {PPM_SETMARQUEESIZE, 30, 0, 1},
        {PBM_SETMARQUEE, TRUE, 100000, 1},
        {PBM_SETMARQUEE, FALSE, 0, 1},
        {PBM_SETSTEP, 2, 0, 0},
        {PBM_SETRANGE32, 0, 50, 0},
        {PBM_SETRANGE, 0, MAKELPARAM(0, 60), 0},
        {PBM_GETPOS, 0, 0, 0},
        {PPM_GETBARCOLOR, 0, 0, 0},
        {WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc"), 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.nMessage);
        g_nPaints = 0;
        Send(step.nMessage, step.wParam, step.lParam);
        EXPECT_EQ(g_nPaints, step.nPaints);
        EXPECT_FALSE(::GetUpdateRect(m_bar, nullptr, FALSE));
    }
}

TEST_F(ProgressRepaint, ScreenShowsTheNewPositionRightAfterTheMessage) {
    UseTestColors();
    ShowText("");
    Send(PBM_SETPOS, 45);
    HDC hDC = ::GetDC(m_bar);
    EXPECT_EQ(::GetPixel(hDC, 91, 2), kBar);
    EXPECT_EQ(::GetPixel(hDC, 92, 2), kBk);
    ::ReleaseDC(m_bar, hDC);
}

// The off-screen surface is kept from paint to paint, and released when the size changes
// and when the window goes; after a resize the bar fills the new size.
TEST_F(ProgressRepaint, KeptSurfaceGoesWhenTheSizeChangesAndWhenTheWindowGoes) {
    UseTestColors();
    ShowText("");
    Send(PBM_SETPOS, 45);
    const HBITMAP hFirst = m_bar.m_paintBuffer.Bitmap();
    ASSERT_NE(hFirst, nullptr);
    Send(PBM_SETPOS, 50);
    EXPECT_EQ(m_bar.m_paintBuffer.Bitmap(), hFirst);

    CRect rcWindow;
    m_bar.GetWindowRect(rcWindow);
    ::SetWindowPos(m_bar, nullptr, 0, 0, rcWindow.Width() + 200, rcWindow.Height(),
                   SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(::GetObjectType(hFirst), 0u);
    Send(PBM_SETPOS, 45);  // 45% of a 400-pixel bar area
    HDC hDC = ::GetDC(m_bar);
    EXPECT_EQ(::GetPixel(hDC, 181, 2), kBar);
    EXPECT_EQ(::GetPixel(hDC, 182, 2), kBk);
    ::ReleaseDC(m_bar, hDC);

    const HBITMAP hSecond = m_bar.m_paintBuffer.Bitmap();
    ASSERT_NE(hSecond, nullptr);
    m_bar.DestroyWindow();
    EXPECT_EQ(::GetObjectType(hSecond), 0u);
}

TEST_F(ProgressRepaint, EmptyRangeDrawsNothingButCompletesThePaint) {
    Send(PBM_SETRANGE32, 5, 5);
    ::InvalidateRect(m_bar, nullptr, TRUE);
    ::UpdateWindow(m_bar);
    EXPECT_EQ(g_nPaints, 1);
    EXPECT_FALSE(::GetUpdateRect(m_bar, nullptr, FALSE));
    EXPECT_EQ(Str(Print().Extent(kUnpainted)), Str(CRect(0, 0, 204, 24)));
}

TEST_F(ProgressRepaint, EraseBackgroundErasesNothing) {
    Picture picture = Capture(10, 10, [&](HDC hDC) {
        EXPECT_EQ(Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hDC)), TRUE);
    });
    EXPECT_EQ(Str(picture.Extent(kUnpainted)), Str(CRect(0, 0, 10, 10)));
}

TEST_F(ProgressRepaint, TwentyThousandRepaintsLeaveNoHandlesBehind) {
    UseTestColors();
    ShowText("WWWWWWWWWW");
    Send(PBM_SETSTEP, 7);
    test::GdiSqueeze squeeze;
    for (int i = 0; i < 20000; ++i) {
        if (i % 3 == 0)
            Send(PBM_SETPOS, i % 101);
        else if (i % 3 == 1)
            Send(PBM_STEPIT);
        else
            Print();
    }
    Send(PBM_SETPOS, 45);
    Picture picture = Print();
    EXPECT_EQ(picture.At(91, 2), kBar);
    EXPECT_EQ(picture.At(92, 2), kBk);
    EXPECT_TRUE(test::CanStillCreateGdiObjects());
}

}  // namespace
}  // namespace progress_test
