// Dispatch through chained message maps, command routing, reflection and subclassing.
#include "framework/Button.h"
#include "framework/Wnd.h"
#include "tests/support/Pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

class BaseWindow : public CWnd {
public:
    BOOL Create() {
        return CreateEx(0, test::TestWindowClass(), "parent", WS_OVERLAPPEDWINDOW,
                        CRect(0, 0, 300, 200), nullptr, 0);
    }
    void OnTimer(UINT_PTR nIDEvent) { g_log.push_back("base timer " + std::to_string(nIDEvent)); }
    void OnPaint() {
        g_log.push_back("base paint");
        Default();
    }
    void OnFirst() { g_log.push_back("base first"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWindow, CWnd)
ON_WM_TIMER()
ON_WM_PAINT()
ON_COMMAND(100, &BaseWindow::OnFirst)
END_MESSAGE_MAP()

class DerivedWindow : public BaseWindow {
public:
    void OnPaint() {
        g_log.push_back("derived paint");
        Default();
    }
    void OnRange() { g_log.push_back("range"); }
    void OnSelChange() { g_log.push_back("selchange 7"); }
    void OnClick7() { g_log.push_back("click 7"); }
    void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult) {
        g_log.push_back("dblclk " + std::to_string(pNMHDR->idFrom));
        *pResult = 42;
    }
    LRESULT OnApp(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWindow, BaseWindow)
ON_WM_PAINT()
ON_COMMAND_RANGE_V(200, 210, &DerivedWindow::OnRange)
ON_CONTROL(CBN_SELCHANGE, 7, &DerivedWindow::OnSelChange)
ON_BN_CLICKED(7, &DerivedWindow::OnClick7)
ON_NOTIFY(NM_DBLCLK, 9, &DerivedWindow::OnDblClk)
ON_MESSAGE(WM_APP + 1, &DerivedWindow::OnApp)
END_MESSAGE_MAP()

// A button that sees its own clicks first; whether the parent still gets them is its choice.
class ReflectingButton : public CButton {
public:
    BOOL m_bLetParentHandle = TRUE;
    BOOL OnClicked() {
        g_log.push_back("child click");
        return !m_bLetParentHandle;
    }
    void OnCustom(NMHDR*, LRESULT* pResult) {
        g_log.push_back("child notify");
        *pResult = 7;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingButton, CButton)
ON_CONTROL_REFLECT_EX(BN_CLICKED, &ReflectingButton::OnClicked)
ON_NOTIFY_REFLECT(NM_RCLICK, &ReflectingButton::OnCustom)
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        ASSERT_TRUE(window.Create());
    }
    LRESULT Command(UINT nID, UINT nCode, HWND hControl = nullptr) {
        return window.SendMessage(WM_COMMAND, MAKEWPARAM(nID, nCode),
                                  reinterpret_cast<LPARAM>(hControl));
    }
    DerivedWindow window;
};

TEST_F(MessageMapTest, CreatedWindowIsBoundFromItsFirstMessages) {
    EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window.m_hWnd, GWLP_WNDPROC)),
              AfxWndProc);
}

TEST_F(MessageMapTest, DerivedEntryWinsAndBaseEntriesStillApply) {
    window.ShowWindow(SW_SHOW);
    ::UpdateWindow(window.m_hWnd);
    window.SendMessage(WM_TIMER, 5);
    Command(100, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"derived paint", "base timer 5", "base first"}));
}

TEST_F(MessageMapTest, CommandsAreRoutedByIdRangeAndNotificationCode) {
    Command(199, 0);
    Command(200, 0);
    Command(210, 0);
    Command(211, 0);
    Command(7, CBN_SELCHANGE);
    Command(7, BN_CLICKED);
    Command(7, CBN_DROPDOWN);
    EXPECT_EQ(g_log, (std::vector<std::string>{"range", "range", "selchange 7", "click 7"}));
}

TEST_F(MessageMapTest, NotifyIsRoutedByCodeAndIdWithItsResult) {
    NMHDR header = {nullptr, 9, static_cast<UINT>(NM_DBLCLK)};
    EXPECT_EQ(window.SendMessage(WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&header)), 42);
    NMHDR other = {nullptr, 8, static_cast<UINT>(NM_DBLCLK)};
    window.SendMessage(WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(g_log, (std::vector<std::string>{"dblclk 9"}));
}

TEST_F(MessageMapTest, PlainMessageHandlerReturnsItsResult) {
    EXPECT_EQ(window.SendMessage(WM_APP + 1, 40, 2), 42);
}

TEST_F(MessageMapTest, ChildSeesItsNotificationFirstAndMayPassItOn) {
    HWND hButton = ::CreateWindowExA(0, "BUTTON", "b", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20,
                                     window.m_hWnd, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ReflectingButton button;
    ASSERT_TRUE(button.SubclassWindow(hButton));

    button.m_bLetParentHandle = TRUE;
    Command(7, BN_CLICKED, hButton);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child click", "click 7"}));

    g_log.clear();
    button.m_bLetParentHandle = FALSE;
    Command(7, BN_CLICKED, hButton);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child click"}));
}

TEST_F(MessageMapTest, NotifyIsReflectedOnlyFromOwnChildren) {
    HWND hButton = ::CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 0, 0, 50, 20, window.m_hWnd,
                                     reinterpret_cast<HMENU>(9), nullptr, nullptr);
    ReflectingButton button;
    ASSERT_TRUE(button.SubclassWindow(hButton));
    NMHDR header = {hButton, 9, static_cast<UINT>(NM_RCLICK)};
    EXPECT_EQ(window.SendMessage(WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&header)), 7);

    // The same child reporting to a window that is not its parent is not reflected.
    DerivedWindow stranger;
    ASSERT_TRUE(stranger.Create());
    g_log.clear();
    EXPECT_EQ(stranger.SendMessage(WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&header)), 0);
    EXPECT_TRUE(g_log.empty());
}

// An edit control whose text changes pass through the object, then on to the control.
class RecordingEdit : public CWnd {
public:
    BOOL OnSetText(LPCSTR lpszText) {
        g_log.push_back(std::string("settext ") + lpszText);
        return static_cast<BOOL>(Default());
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingEdit, CWnd)
ON_WM_SETTEXT()
END_MESSAGE_MAP()

TEST_F(MessageMapTest, SubclassedControlKeepsItsOwnBehaviourThroughDefault) {
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, window.m_hWnd, nullptr,
                                   nullptr, nullptr);
    LONG_PTR original = ::GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
    RecordingEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    edit.SetWindowText("hello");
    EXPECT_EQ(edit.GetWindowText(), "hello");
    EXPECT_EQ(g_log, (std::vector<std::string>{"settext hello"}));

    EXPECT_EQ(edit.UnsubclassWindow(), hEdit);
    EXPECT_EQ(::GetWindowLongPtrA(hEdit, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
}

TEST_F(MessageMapTest, DestroyedWindowUnbindsItsObject) {
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, window.m_hWnd, nullptr,
                                   nullptr, nullptr);
    RecordingEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    ::DestroyWindow(hEdit);
    EXPECT_EQ(edit.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
}

TEST_F(MessageMapTest, ObjectDestroyedFirstTakesItsWindowAlong) {
    HWND hWnd;
    {
        BaseWindow transient;
        ASSERT_TRUE(transient.Create());
        hWnd = transient.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
}

}  // namespace
