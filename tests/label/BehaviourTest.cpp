// What the label does: blinking by the timer, clicks, the hover cursor, its font.
#include "tests/label/LabelFixture.h"
#include "tests/support/MessageRecorder.h"

#include "framework/Shell.h"

#include <string>

namespace label_test {
namespace {

using LabelBehaviour = LabelTest;

TEST_F(LabelBehaviour, BlinkPhasesFollowTheTimerTicks) {
    m_label.SetBackground(kWhite, 0, FALSE).SetTextColor(kText);
    Show();
    // After nTicks ticks of 500 ms the screen shows crText on crBk; the same colour twice
    // means the text is hidden.
    auto after = [&](int nTicks, COLORREF crBk, COLORREF crText) {
        while (nTicks-- > 0)
            m_label.SendMessage(WM_TIMER, 1);
        const Picture screen = test::Screen(m_label);
        const int nText = crText == crBk ? 0 : screen.Count(crText);
        return screen.Count(crBk) + nText == screen.cx * screen.cy &&
               (nText > 0) == (crText != crBk);
    };
    const COLORREF kBlack = RGB(0, 0, 0);
    m_label.BlinkText(TRUE);
    EXPECT_TRUE(after(0, kWhite, kText));  // starting does not repaint
    EXPECT_TRUE(after(1, kWhite, kText));
    EXPECT_TRUE(after(1, kWhite, kWhite));  // 1000 ms: hidden in the custom brush's colour
    EXPECT_TRUE(after(1, kWhite, kText));
    EXPECT_TRUE(after(1, kWhite, kWhite));
    m_label.BlinkText(FALSE);
    EXPECT_TRUE(after(0, kWhite, kWhite));  // until the next repaint
    m_label.RedrawWindow();
    EXPECT_TRUE(after(0, kWhite, kText));
    m_label.SetBackground(kWhite, kWhite, TRUE).BlinkText(TRUE);  // no custom brush
    EXPECT_TRUE(after(2, kWhite, kBlack));
    m_label.BlinkBackground(FALSE).RedrawWindow();  // stops the text blinking too
    EXPECT_TRUE(after(0, kWhite, kText));
    m_label.BlinkBackground(TRUE);
    EXPECT_TRUE(after(1, kWhite, kText));
    EXPECT_TRUE(after(1, ::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHTTEXT)));
    EXPECT_TRUE(::KillTimer(m_label, 1));  // the ticks above were sent, but the timer runs
    m_label.DestroyWindow();  // a blink and a link set before the window exists apply on attaching
    m_label.BlinkText(TRUE).SetOpenLink(TRUE, FALSE);
    Bind(SS_CENTERIMAGE, 200, 40, "Label", m_tahoma);
    EXPECT_TRUE(::KillTimer(m_label, 1));
    EXPECT_TRUE(m_label.GetStyle() & SS_NOTIFY);
}

std::string g_shell;  // what reached the shell

HINSTANCE WINAPI RecordShell(HWND hWnd, LPCSTR pszVerb, LPCSTR pszFile, LPCSTR pszParameters,
                             LPCSTR pszDirectory, INT nShow) {
    g_shell += std::string(pszVerb ? pszVerb : "(default)") + " " + pszFile;
    if (hWnd || pszParameters || pszDirectory || nShow != SW_SHOWNORMAL)
        g_shell += " (unexpected arguments)";
    return reinterpret_cast<HINSTANCE>(33);
}

TEST_F(LabelBehaviour, ClickOpensTheLinkOrTellsTheParent) {
    const AfxShellCalls realShell = AfxShell();
    AfxShell().pfnShellExecute = RecordShell;
    test::MessageRecorder recorder({WM_NOTIFY, WM_COMMAND});
    recorder.Watch(m_parent, test::kParent);
    const test::Msg notified = {WM_NOTIFY, test::kParent | test::kWParam, kLabelId, 0,
                                NM_LABELCLICK};
    const test::Msg clicked = {WM_COMMAND, test::kParent, 0, 0, STN_CLICKED};
    const struct {
        BOOL bMail, bNotify;
        LPCSTR pszTarget, pszShell;
    } cases[] = {
        {FALSE, FALSE, "", "open Label"},
        {FALSE, FALSE, "http://example.org/", "open http://example.org/"},
        {TRUE, FALSE, "http://example.org/", "(default) mailto:Label"},
        {FALSE, TRUE, "", ""},
        {TRUE, TRUE, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszShell);
        if (c.bMail)
            m_label.SetMailToLink(TRUE, c.bNotify).SetLinkTarget(c.pszTarget);
        else
            m_label.SetOpenLink(TRUE, c.bNotify).SetLinkTarget(c.pszTarget);
        g_shell.clear();
        recorder.Clear();
        m_parent.m_click = {};
        m_label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(g_shell, c.pszShell);
        // The static's own click notice follows in every case.
        EXPECT_TRUE(recorder.Matches(c.bNotify ? std::vector<test::Msg>{notified, clicked}
                                               : std::vector<test::Msg>{clicked}));
        EXPECT_EQ(m_parent.m_click.hwndFrom, c.bNotify ? m_label.m_hWnd : nullptr);
    }
    AfxShell() = realShell;

    // Clicks reach a static only with SS_NOTIFY; the hover cursor shows then.
    Show();
    POINT pt = {15, 15};
    ::ClientToScreen(m_parent, &pt);
    EXPECT_EQ(::WindowFromPoint(pt), m_label.m_hWnd);
    HCURSOR hHand = ::LoadCursor(nullptr, IDC_HAND);
    m_label.SetHoverCursor(hHand);
    m_label.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_label.m_hWnd), HTCLIENT);
    EXPECT_EQ(::GetCursor(), hHand);
    m_label.SetHoverCursor(nullptr).SetOpenLink(FALSE, TRUE);
    m_label.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_label.m_hWnd), HTCLIENT);
    EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_ARROW));
    EXPECT_FALSE(m_label.GetStyle() & SS_NOTIFY);
    EXPECT_EQ(::WindowFromPoint(pt), m_parent.m_hWnd);
}

TEST_F(LabelBehaviour, FontOperationsEditTheFontTheLabelDrawsWith) {
    auto font = [&] {
        LOGFONTA lf = {};
        m_label.m_font.GetObject(sizeof(lf), &lf);
        return lf;
    };
    m_label.SetBold(TRUE);
    EXPECT_EQ(font().lfWeight, FW_BOLD);
    m_label.SetItalic(TRUE).SetUnderline(TRUE);
    EXPECT_EQ(font().lfItalic + font().lfUnderline, 2);
    m_label.SetAngle(90, FALSE);
    EXPECT_EQ(font().lfEscapement + font().lfOrientation, 1800);
    m_label.SetPointSize(20);
    HDC hScreen = ::GetDC(nullptr);
    EXPECT_EQ(font().lfHeight, -(::GetDeviceCaps(hScreen, LOGPIXELSY) * 20 / 72));
    ::ReleaseDC(nullptr, hScreen);
    const std::string face40(40, 'F');  // longer than a font description holds: cut
    m_label.SetFaceName(face40.c_str(), SYMBOL_CHARSET);
    EXPECT_EQ(font().lfCharSet, SYMBOL_CHARSET);
    EXPECT_EQ(std::string(font().lfFaceName), face40.substr(0, LF_FACESIZE - 1));
    EXPECT_EQ(m_label.m_logFont.lfFaceName[LF_FACESIZE - 1], '\0');
    m_label.SetBold(FALSE);
    EXPECT_EQ(font().lfWeight + font().lfItalic, FW_NORMAL + 1);
}

}  // namespace
}  // namespace label_test
