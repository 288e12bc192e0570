// Attaching, the default-button protocol, check state, hover, clicks, focus and the menu.
#include "tests/button/ButtonFixture.h"

#include "framework/CodePage.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalRunner.h"

#include <string>
#include <vector>

namespace button_test {
namespace {

using test::kLParam;
using test::kParent;
using test::kPosted;
using test::kSent;
using test::kWParam;

const LPARAM kOver = MAKELPARAM(24, 20);  // client points over the button and beside it
const LPARAM kBeside = MAKELPARAM(static_cast<WORD>(-5), static_cast<WORD>(-5));

TEST_F(ButtonTest, AttachingMakesAnyButtonOwnerDrawn) {
    for (DWORD dwType = 0; dwType <= 11; ++dwType) {
        SCOPED_TRACE(dwType);
        Attach(dwType);
        EXPECT_EQ(m_button->GetStyle() & 0x1F, static_cast<DWORD>(BS_OWNERDRAW));
        EXPECT_EQ(m_button->m_bDefault, dwType == BS_DEFPUSHBUTTON);
        EXPECT_EQ(m_button->m_bCheckMode, dwType == 2 || dwType == 3 || dwType == 5 || dwType == 6);
    }
}

TEST_F(ButtonTest, DefaultButtonProtocolKeepsTheButtonOwnerDrawn) {
    Attach(BS_DEFPUSHBUTTON);
    const struct {
        int nSetStyle;  // -1: none
        UINT nDlgCode;
    } steps[] = {{-1, DLGC_DEFPUSHBUTTON},
                 {BS_PUSHBUTTON, DLGC_UNDEFPUSHBUTTON},
                 {BS_DEFPUSHBUTTON, DLGC_DEFPUSHBUTTON}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.nSetStyle);
        if (step.nSetStyle >= 0)
            Send(BM_SETSTYLE, static_cast<WPARAM>(step.nSetStyle), TRUE);
        const UINT nCode = static_cast<UINT>(Send(WM_GETDLGCODE));
        EXPECT_EQ(nCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON),
                  step.nDlgCode | DLGC_BUTTON);
        EXPECT_EQ(m_button->GetStyle() & 0x1F, static_cast<DWORD>(BS_OWNERDRAW));
    }
}

TEST_F(ButtonTest, CheckStateChangesOnlyInCheckMode) {
    const struct {
        DWORD dwType;
        WPARAM nCheck;
        LRESULT nExpected;
    } cases[] = {{BS_PUSHBUTTON, BST_CHECKED, 0},
                 {BS_AUTOCHECKBOX, BST_CHECKED, 1},
                 {BS_CHECKBOX, BST_INDETERMINATE, 1},
                 {BS_CHECKBOX, 0, 0},
                 {BS_CHECKBOX, 3, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.dwType) + " " + std::to_string(c.nCheck));
        Attach(c.dwType);
        Send(BM_SETCHECK, BST_CHECKED);
        Send(BM_SETCHECK, c.nCheck);
        EXPECT_EQ(Send(BM_GETCHECK), c.nExpected);
    }
}

TEST_F(ButtonTest, LongAddressesKeepWholeCharactersOf259Bytes) {
    m_button->SetUrl(std::string(300, 'a').c_str());
    EXPECT_EQ(strlen(m_button->m_szUrl), 259u);
    // In code page 932, 0x88 0x9F is one character whose second byte could also lead one;
    // in UTF-8 あ takes three bytes and an emoji four.
    std::string odd = "a", even, kana = "a", emoji;
    for (int i = 0; i < 150; ++i) {
        odd += "\x88\x9F";
        even += "\x88\x9F";
        kana += "\xE3\x81\x82";
        emoji += "\xF0\x9F\x8E\xB5";
    }
    const struct {
        std::string text;
        UINT nCodePage;
        size_t nKept;
    } cases[] = {{odd, 932, 259},
                 {even, 932, 258},
                 {"\x88\x9F", 932, 2},
                 {kana, CP_UTF8, 259},
                 {kana.substr(1), CP_UTF8, 258},
                 {emoji, CP_UTF8, 256}};
    for (const auto& c : cases) {
        char buffer[MAX_PATH];
        EXPECT_EQ(CopyWholeChars(buffer, sizeof(buffer), c.text.c_str(), c.nCodePage), c.nKept);
        EXPECT_EQ(c.text.compare(0, c.nKept, buffer), 0) << c.nKept;
    }
    // The process speaks UTF-8, so the button's own cut is the UTF-8 one.
    m_button->SetUrl(emoji.c_str());
    EXPECT_EQ(strlen(m_button->m_szUrl), 256u);
}

TEST_F(ButtonTest, OnlyAFlatButtonLightsAndEveryWayOutEndsIt) {
    const struct {
        BOOL bFlat, bLit;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        BOOL bExpected;
    } cases[] = {{TRUE, FALSE, WM_MOUSEMOVE, 0, kOver, TRUE},
                 {TRUE, FALSE, WM_MOUSEMOVE, MK_LBUTTON, kOver, FALSE},  // a drag from elsewhere
                 {TRUE, TRUE, WM_MOUSEMOVE, MK_LBUTTON, kOver, TRUE},
                 {FALSE, FALSE, WM_MOUSEMOVE, 0, kOver, FALSE},
                 {TRUE, TRUE, WM_MOUSEMOVE, 0, kBeside, FALSE},
                 {TRUE, TRUE, WM_MOUSELEAVE, 0, 0, FALSE},
                 {TRUE, TRUE, WM_KILLFOCUS, 0, 0, FALSE},
                 {TRUE, TRUE, WM_CANCELMODE, 0, 0, FALSE},
                 {TRUE, TRUE, WM_ACTIVATE, WA_INACTIVE, 0, FALSE},
                 {TRUE, TRUE, WM_ENABLE, FALSE, 0, FALSE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.message) + " lit " + std::to_string(c.bLit) + " flat " +
                     std::to_string(c.bFlat) + " flags " + std::to_string(c.wParam));
        m_button->SetFlat(c.bFlat, FALSE);
        m_button->m_bHover = c.bLit;
        ::ValidateRect(*m_button, nullptr);
        Send(c.message, c.wParam, c.lParam);
        EXPECT_EQ(m_button->m_bHover, c.bExpected);
        EXPECT_EQ(::GetUpdateRect(*m_button, nullptr, FALSE), c.bLit != c.bExpected);
    }
}

TEST_F(ButtonTest, ParentGetsEveryClickAndCheckModeToggles) {
    const std::vector<UINT> click = {WM_LBUTTONDOWN, WM_LBUTTONUP};
    const std::vector<UINT> twice = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    const struct {
        DWORD dwType;
        const std::vector<UINT>& input;
        size_t nClicks;
        BOOL bChecked;
    } cases[] = {{BS_PUSHBUTTON, click, 1, FALSE},
                 {BS_PUSHBUTTON, twice, 2, FALSE},
                 {BS_AUTOCHECKBOX, click, 1, TRUE},
                 {BS_AUTOCHECKBOX, twice, 2, FALSE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.dwType) + " " + std::to_string(c.nClicks));
        Attach(c.dwType);
        test::MessageRecorder recorder({WM_COMMAND});
        recorder.Watch(m_parent, kParent);
        for (UINT message : c.input)
            m_button->PostMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, kOver);
        Pump();
        const test::Msg clicked = {WM_COMMAND, kParent | kSent, 0, 0, BN_CLICKED};
        EXPECT_TRUE(recorder.Matches(std::vector<test::Msg>(c.nClicks, clicked)));
        EXPECT_EQ(m_button->GetChecked(), c.bChecked);
        EXPECT_EQ(::GetFocus(), m_button->m_hWnd);
    }
}

TEST_F(ButtonTest, DisablingMovesTheFocusFromTheButtonToTheNextTabStopOrTheParent) {
    for (DWORD dwTabStop : {static_cast<DWORD>(WS_TABSTOP), 0ul}) {
        HWND hNext = ::CreateWindowExA(0, "EDIT", "next", WS_CHILD | WS_VISIBLE | dwTabStop, 70, 10,
                                       40, 20, m_parent, nullptr, nullptr, nullptr);
        for (HWND hFocus : {m_button->m_hWnd, hNext}) {  // the edit box being typed in keeps it
            ::SetFocus(hFocus);
            m_button->EnableWindow(FALSE);
            EXPECT_EQ(::GetFocus(), hFocus == hNext || dwTabStop ? hNext : m_parent.m_hWnd)
                << dwTabStop;
            m_button->EnableWindow(TRUE);
        }
        ::DestroyWindow(hNext);
    }
}

TEST_F(ButtonTest, MenuOpensUnderTheButtonAfterItsNotification) {
    for (HWND hTarget : {m_parent.m_hWnd, static_cast<HWND>(nullptr)}) {  // none: the parent
        SCOPED_TRACE(hTarget ? "target" : "no target");
        HMENU hMenu = ::CreateMenu(), hSubMenu = ::CreatePopupMenu();
        ::AppendMenuA(hSubMenu, MF_STRING, 501, "First");
        ::AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hSubMenu), "Menu");
        m_button->SetMenu(hMenu, hTarget, FALSE);
        m_button->SetMenuNotify(m_parent, kMenuNotify, 77);
        test::MessageRecorder recorder({WM_COMMAND, kMenuNotify});
        recorder.Watch(m_parent, kParent);
        // From outside the open menu: where it is, then choose its first item, the one added.
        CRect rcMenu;
        test::WhileModal([&] {
            HWND hPopup = ::FindWindowA("#32768", nullptr);
            if (!hPopup || !::IsWindowVisible(hPopup))
                return false;
            ::GetWindowRect(hPopup, &rcMenu);
            ::PostMessageA(hPopup, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageA(hPopup, WM_KEYDOWN, VK_RETURN, 0);
            return true;
        });
        Send(BM_CLICK);
        test::PumpMessages();
        CRect rcButton;
        m_button->GetWindowRect(rcButton);
        EXPECT_EQ(Str(CRect(rcMenu.left, rcMenu.top, 0, 0)),
                  Str(CRect(rcButton.left, rcButton.bottom, 0, 0)));
        EXPECT_TRUE(recorder.Matches({{WM_COMMAND, kParent | kSent, 0, 0, BN_CLICKED},
                                      {kMenuNotify, kParent | kSent | kWParam | kLParam,
                                       reinterpret_cast<WPARAM>(hSubMenu), 77},
                                      {WM_COMMAND, kParent | kPosted | kWParam, 502, 0, 0}}));
    }
}

}  // namespace
}  // namespace button_test
