// Handlers that decline, typed mouse and focus entries, owner-draw and colour reflection,
// and the owner and view types of handles and DCs.
#include "framework/Button.h"
#include "framework/Icon.h"
#include "framework/ImageList.h"
#include "framework/KernelHandle.h"
#include "framework/Menu.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/Pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

// The entries of the log that start with prefix; painting adds its own in between.
std::vector<std::string> LogOf(const std::string& prefix) {
    std::vector<std::string> entries;
    for (const std::string& entry : g_log)
        if (entry.rfind(prefix, 0) == 0)
            entries.push_back(entry);
    return entries;
}

// A button that paints itself, colours its own background, and declines some mouse moves.
class SelfDrawnButton : public CButton {
public:
    HBRUSH m_hBrush = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    UINT m_nAttachedStyle = 0;

    void PreSubclassWindow() override { m_nAttachedStyle = GetStyle() & 0x1F; }
    void DrawItem(LPDRAWITEMSTRUCT pDraw) override {
        g_log.push_back("draw " + std::to_string(pDraw->CtlID));
    }
    HBRUSH CtlColor(CDC*, UINT nCtlColor) {
        g_log.push_back("ctlcolor " + std::to_string(nCtlColor));
        return m_hBrush;
    }
    void OnLButtonDown(UINT nFlags, CPoint point) {
        g_log.push_back("press " + std::to_string(point.x) + "," + std::to_string(point.y));
        // Presses with Shift held are left to the control's own handling.
        if (nFlags & MK_SHIFT)
            SetMsgHandled(FALSE);
    }
    void OnKillFocus(CWnd* pNewWnd) {
        g_log.push_back(pNewWnd ? "killfocus to object" : "killfocus to window");
        Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SelfDrawnButton, CButton)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_LBUTTONDOWN()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

// Its parent, which also handles the colour message (when the child leaves it).
class Parent : public CWnd {
public:
    LRESULT OnCtlColorBtn(WPARAM, LPARAM) {
        g_log.push_back("parent ctlcolor");
        return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Parent, CWnd)
ON_MESSAGE(WM_CTLCOLORBTN, &Parent::OnCtlColorBtn)
END_MESSAGE_MAP()

class ReflectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        ASSERT_TRUE(parent.CreateEx(0, test::TestWindowClass(), "parent", WS_OVERLAPPEDWINDOW,
                                    CRect(0, 0, 300, 200), nullptr, 0));
        HWND hButton =
            ::CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 60,
                              30, parent, reinterpret_cast<HMENU>(12), nullptr, nullptr);
        ASSERT_TRUE(button.SubclassWindow(hButton));
    }
    Parent parent;
    SelfDrawnButton button;
};

TEST_F(ReflectionTest, OwnerDrawAndColourMessagesReachTheButtonFirst) {
    EXPECT_EQ(button.m_nAttachedStyle, static_cast<UINT>(BS_OWNERDRAW));

    parent.ShowWindow(SW_SHOWNOACTIVATE);
    ::UpdateWindow(parent);
    test::PumpMessages();
    EXPECT_NE(std::find(g_log.begin(), g_log.end(), "draw 12"), g_log.end());

    // The button answers for itself, told which kind of colour message it was.
    g_log.clear();
    HDC hDC = ::GetDC(button);
    LRESULT brush = parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hDC),
                                       reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(button.m_hBrush));
    EXPECT_EQ(g_log, (std::vector<std::string>{"ctlcolor " + std::to_string(CTLCOLOR_BTN)}));

    // A null brush means the button leaves it to the parent's own handler.
    g_log.clear();
    button.m_hBrush = nullptr;
    brush = parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hDC),
                               reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(g_log, (std::vector<std::string>{"ctlcolor " + std::to_string(CTLCOLOR_BTN),
                                               "parent ctlcolor"}));
    ::ReleaseDC(button, hDC);
}

TEST_F(ReflectionTest, DeclinedMessageGoesOnToTheControlsOwnProcedure) {
    test::MessageRecorder recorder({WM_COMMAND});
    recorder.Watch(parent, test::kParent);
    parent.ShowWindow(SW_SHOWNOACTIVATE);

    // Kept: the control never sees the press, so it neither captures the mouse nor clicks.
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    EXPECT_NE(::GetCapture(), button.m_hWnd);
    button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 4));

    // Declined: the control's own procedure presses the button, and the release clicks it.
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-2, 5));
    EXPECT_EQ(::GetCapture(), button.m_hWnd);
    EXPECT_TRUE(button.SendMessage(BM_GETSTATE) & BST_PUSHED);
    button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 4));

    EXPECT_EQ(LogOf("press"), (std::vector<std::string>{"press 3,4", "press -2,5"}));
    EXPECT_TRUE(recorder.Matches({{WM_COMMAND, test::kParent | test::kSent, 0, 0, BN_CLICKED}}));
    // The flag is back at its resting value for whatever runs next.
    EXPECT_TRUE(afx::MsgHandledFlag());
}

TEST_F(ReflectionTest, FocusHandlersGetTheOtherWindowsObjectWhenThereIsOne) {
    parent.ShowWindow(SW_SHOW);
    button.SetFocus();
    ::SetFocus(parent);
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 100, 10, 60, 20, parent,
                                   nullptr, nullptr, nullptr);
    button.SetFocus();
    ::SetFocus(hEdit);
    EXPECT_EQ(LogOf("killfocus"),
              (std::vector<std::string>{"killfocus to object", "killfocus to window"}));
}

// A view must not be able to load or destroy what it was lent.
template <class T, class = void> struct CanDestroy : std::false_type {};
template <class T>
struct CanDestroy<T, std::void_t<decltype(std::declval<T&>().DestroyMenu())>> : std::true_type {};
template <class T, class = void> struct CanDeleteList : std::false_type {};
template <class T>
struct CanDeleteList<T, std::void_t<decltype(std::declval<T&>().DeleteImageList())>>
    : std::true_type {};
template <class T, class = void> struct CanClose : std::false_type {};
template <class T>
struct CanClose<T, std::void_t<decltype(std::declval<T&>().Close())>> : std::true_type {};
template <class T, class = void> struct CanDeleteDC : std::false_type {};
template <class T>
struct CanDeleteDC<T, std::void_t<decltype(std::declval<T&>().DeleteDC())>> : std::true_type {};
static_assert(CanDestroy<CMenu>::value && !CanDestroy<CMenuHandle>::value);
static_assert(CanDeleteList<CImageList>::value && !CanDeleteList<CImageListHandle>::value);
static_assert(CanClose<CIcon>::value && !CanClose<CIconHandle>::value && CanClose<CCursor>::value &&
              !CanClose<CCursorHandle>::value && CanClose<CFont>::value &&
              !CanClose<CFontHandle>::value);
// Drawing code gets a CDC, which cannot delete the DC it was lent.
static_assert(CanDeleteDC<CMemoryDC>::value && !CanDeleteDC<CDC>::value &&
              !CanDeleteDC<CDCHandle>::value && !std::is_constructible_v<CDC, HDC>);
// Two owners of one handle would release it twice: they move, never copy.
static_assert(!std::is_copy_constructible_v<CHandle> && std::is_nothrow_move_assignable_v<CIcon>);

TEST(OwnerAndView, AViewOfAListLeavesItAliveAndAnOwnerRefusesToDropOne) {
    HIMAGELIST hList = ImageList_Create(16, 16, ILC_COLOR24, 1, 0);
    {
        CImageListHandle view;
        view.Attach(hList);
        CImageListHandle second;
        second.Attach(hList);
    }
    EXPECT_EQ(ImageList_GetImageCount(hList), 0);  // still a list
    {
        CImageList owner;
        ASSERT_TRUE(owner.Create(16, 16, ILC_COLOR24, 1, 0));
        HIMAGELIST hOwned = owner;
        EXPECT_FALSE(owner.Create(8, 8, ILC_COLOR24, 1, 0));
        EXPECT_EQ(owner.GetSafeHandle(), hOwned);
    }
    ImageList_Destroy(hList);

    CMenu menu;
    menu.Attach(::CreatePopupMenu());
    HMENU hHeld = menu;
    HMENU hOther = ::CreatePopupMenu();
    EXPECT_FALSE(menu.Attach(hOther));
    EXPECT_EQ(menu.GetSafeHandle(), hHeld);
    EXPECT_TRUE(::DestroyMenu(hOther));

    // A failed open holds nothing; a moved owner hands its handle on, closed once at the end.
    EXPECT_TRUE(CHandle(INVALID_HANDLE_VALUE).IsNull());
    HANDLE hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    {
        CHandle first(hEvent);
        CHandle second = std::move(first);
        EXPECT_TRUE(first.IsNull());
        EXPECT_EQ(second.GetSafeHandle(), hEvent);
    }
    DWORD dwFlags = 0;
    EXPECT_FALSE(::GetHandleInformation(hEvent, &dwFlags));
}

}  // namespace
