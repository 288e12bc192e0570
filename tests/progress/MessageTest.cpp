// What each message stores and returns: range, position, step, colours, text
// settings and the marquee.
#include "tests/progress/ProgressFixture.h"

namespace progress_test {
namespace {

using ProgressMessages = ProgressTest;

TEST_F(ProgressMessages, NewControlStartsAtZeroOfZeroToHundredStepTen) {
    EXPECT_EQ(Send(PBM_GETPOS), 0);
    EXPECT_EQ(Send(PBM_GETRANGE, TRUE), 0);
    EXPECT_EQ(Send(PBM_GETRANGE, FALSE), 100);
    EXPECT_EQ(Send(PBM_SETSTEP, 5), 10);
    EXPECT_EQ(Send(PBM_GETSTEP), 5);
    EXPECT_EQ(Send(PBM_SETSTEP, 1), 5);
    EXPECT_EQ(Send(PPM_SHOWPERCENT, FALSE), TRUE);
    EXPECT_EQ(Send(PPM_SHOWPERCENT, TRUE), FALSE);
    EXPECT_EQ(Send(PPM_SETTEXTALIGN, 0), 1);
    EXPECT_EQ(Send(PPM_SETTEXTALIGN, 2), 0);
    EXPECT_EQ(Send(PPM_SETMARQUEESIZE, 30), 30);
}

TEST_F(ProgressMessages, ColoursReturnTheStoredValueAndReadDefaultsAsSystemColours) {
    const struct {
        UINT nSet, nGet;
        int nSysColor;
        UINT nGetStored;  // the platform's message that answers the stored value, or 0
    } colours[] = {{PBM_SETBARCOLOR, PPM_GETBARCOLOR, COLOR_HIGHLIGHT, PBM_GETBARCOLOR},
                   {PBM_SETBKCOLOR, PPM_GETBKCOLOR, COLOR_BTNFACE, PBM_GETBKCOLOR},
                   {PPM_SETTEXTCOLOR, PPM_GETTEXTCOLOR, COLOR_WINDOWTEXT, 0},
                   {PPM_SETBARTEXTCOLOR, PPM_GETBARTEXTCOLOR, COLOR_WINDOW, 0}};
    for (const auto& c : colours) {
        SCOPED_TRACE(c.nSet);
        EXPECT_EQ(static_cast<COLORREF>(Send(c.nGet)), ::GetSysColor(c.nSysColor));
        EXPECT_EQ(static_cast<COLORREF>(Send(c.nSet, 0, RGB(255, 0, 0))), CLR_DEFAULT);
        EXPECT_EQ(static_cast<COLORREF>(Send(c.nGet)), RGB(255, 0, 0));
        if (c.nGetStored) {
            EXPECT_EQ(static_cast<COLORREF>(Send(c.nGetStored)), RGB(255, 0, 0));
        }
        EXPECT_EQ(static_cast<COLORREF>(Send(c.nSet, 0, CLR_DEFAULT)), RGB(255, 0, 0));
        EXPECT_EQ(static_cast<COLORREF>(Send(c.nGet)), ::GetSysColor(c.nSysColor));
    }
}

TEST_F(ProgressMessages, PositionIsClampedToTheRange) {
    EXPECT_EQ(Send(PBM_SETPOS, 150), 0);
    EXPECT_EQ(Send(PBM_GETPOS), 100);
    EXPECT_EQ(Send(PBM_SETPOS, static_cast<WPARAM>(-5)), 100);
    EXPECT_EQ(Send(PBM_GETPOS), 0);
    EXPECT_EQ(Send(PBM_DELTAPOS, 30), 0);
    EXPECT_EQ(Send(PBM_DELTAPOS, static_cast<WPARAM>(-50)), 30);
    EXPECT_EQ(Send(PBM_GETPOS), 0);
}

TEST_F(ProgressMessages, StepItWrapsAroundAtBothEnds) {
    Send(PBM_SETRANGE32, 0, 10);
    Send(PBM_SETPOS, 10);
    Send(PBM_SETSTEP, 1);
    EXPECT_EQ(Send(PBM_STEPIT), 10);
    EXPECT_EQ(Send(PBM_GETPOS), 1);
    Send(PBM_SETSTEP, static_cast<WPARAM>(-3));
    EXPECT_EQ(Send(PBM_STEPIT), 1);
    EXPECT_EQ(Send(PBM_GETPOS), 8);
}

TEST_F(ProgressMessages, RangeIsReturnedPackedAndSixteenBitBoundsAreUnsigned) {
    Send(PBM_SETPOS, 50);
    EXPECT_EQ(static_cast<DWORD>(Send(PBM_SETRANGE32, static_cast<WPARAM>(-5), 70000)),
              static_cast<DWORD>(MAKELONG(0, 100)));
    EXPECT_EQ(Send(PBM_GETPOS), 50);  // a new range leaves the position alone

    PBRANGE range = {};
    EXPECT_EQ(Send(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), -5);
    EXPECT_EQ(range.iLow, -5);
    EXPECT_EQ(range.iHigh, 70000);

    EXPECT_EQ(static_cast<DWORD>(Send(PBM_SETRANGE, 0, MAKELPARAM(1, 40000))),
              static_cast<DWORD>(MAKELONG(-5, 70000)));
    EXPECT_EQ(Send(PBM_GETRANGE, FALSE), 40000);
    EXPECT_EQ(Send(PBM_GETRANGE, TRUE), 1);
}

TEST_F(ProgressMessages, MarqueeMayRunPastTheEndByItsSize) {
    EXPECT_EQ(Send(PBM_SETMARQUEE, TRUE, 100000), TRUE);
    EXPECT_TRUE(m_bar.GetStyle() & PBS_MARQUEE);
    EXPECT_EQ(Send(PPM_SHOWPERCENT, TRUE), FALSE);  // the marquee turned the percentage off
    Send(PBM_SETPOS, 150);
    EXPECT_EQ(Send(PBM_GETPOS), 120);
    Send(PPM_SETMARQUEESIZE, 50);
    Send(PBM_SETPOS, 1000);
    EXPECT_EQ(Send(PBM_GETPOS), 150);
    Send(PBM_SETRANGE32, 100, 200);  // past the end by half the range, not half the bound
    Send(PBM_SETPOS, 1000);
    EXPECT_EQ(Send(PBM_GETPOS), 250);
    Send(PBM_SETRANGE32, 0, 7);  // (150 x 7 + 0.5) / 100 = 10.505
    Send(PBM_SETPOS, 1000);
    EXPECT_EQ(Send(PBM_GETPOS), 10);

    EXPECT_EQ(Send(PBM_SETMARQUEE, FALSE), FALSE);
    EXPECT_FALSE(m_bar.GetStyle() & PBS_MARQUEE);
    EXPECT_FALSE(::KillTimer(m_bar, 1));  // already gone
    EXPECT_EQ(Send(PPM_SHOWPERCENT, TRUE), FALSE);
    Send(PBM_SETPOS, 1000);
    EXPECT_EQ(Send(PBM_GETPOS), 7);
}

TEST_F(ProgressMessages, MarqueeTimerMovesOneStepAndTurnsAtBothEnds) {
    Send(PBM_SETMARQUEE, TRUE, 100000);
    Send(PBM_SETPOS, 120);
    Send(WM_TIMER, 1);
    EXPECT_EQ(Send(PBM_GETPOS), 119);
    Send(WM_TIMER, 2);
    EXPECT_EQ(Send(PBM_GETPOS), 119);  // not the marquee's timer
    Send(PBM_SETPOS, 0);
    Send(WM_TIMER, 1);
    EXPECT_EQ(Send(PBM_GETPOS), 1);

    // Each bar turns on its own: the first one's turn leaves the other going on.
    CPercentProgressCtrl other;
    ASSERT_TRUE(
        other.CreateEx(0, PROGRESS_CLASSA, "", WS_CHILD, CRect(0, 0, 50, 10), &m_parent, 1));
    other.SendMessage(PBM_SETMARQUEE, TRUE, 100000);
    other.SendMessage(PBM_SETPOS, 50);
    Send(PBM_SETPOS, 120);
    Send(WM_TIMER, 1);
    other.SendMessage(WM_TIMER, 1);
    EXPECT_EQ(other.SendMessage(PBM_GETPOS), 51);
}

TEST_F(ProgressMessages, MarqueeRunsOnItsTimer) {
    Send(PBM_SETMARQUEE, TRUE, 1);
    Send(PBM_SETPOS, 50);
    EXPECT_TRUE(test::PumpUntil([&] { return Send(PBM_GETPOS) != 50; }));
    Send(PBM_SETMARQUEE, FALSE);
}

}  // namespace
}  // namespace progress_test
