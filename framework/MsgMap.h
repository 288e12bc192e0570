// Static, table-driven message maps. Each class lists its handlers in a table
// that chains to its base class's table; a handler is reached through a thunk
// instantiated for its exact signature, so a handler with the wrong signature
// does not compile.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <type_traits>

#include "framework/Types.h"

class CCmdTarget;
class CDC;
class CWnd;

// Calls one handler with the message's arguments unpacked. Returns true when
// the message counts as handled; *pResult receives the message result.
using AFX_THUNK = bool (*)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message; WM_REFLECT_BASE + message for reflected ones
    UINT nCode;     // notification code of WM_COMMAND and WM_NOTIFY, else 0
    UINT nID;       // first command or control ID, else 0
    UINT nLastID;   // last command or control ID, else 0
    AFX_THUNK pfn;  // nullptr ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // nullptr at the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Notifications a parent hands back to the child that sent them.
#define WM_REFLECT_BASE 0xBC00
// The one key under which every WM_CTLCOLOR* message is reflected.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

namespace afx {

template <class Pmf> struct ClassOf;
template <class C, class R, class... A> struct ClassOf<R (C::*)(A...)> { using type = C; };

// The handler's type must be exactly the signature the entry macro documents.
template <auto pfn, class R, class... A> constexpr void CheckSignature() {
    using C = typename ClassOf<decltype(pfn)>::type;
    static_assert(std::is_same_v<decltype(pfn), R (C::*)(A...)>,
                  "message handler has the wrong signature for its map entry");
}

template <class T> T* Target(CCmdTarget* p) { return static_cast<T*>(p); }

// Whether the handler now running keeps its message; SetMsgHandled(FALSE) declines it,
// and the message goes on along the maps and then to the default procedure.
bool& MsgHandledFlag();

// Marks a handler call as handled unless the handler declines; restores the outer
// call's flag, since handlers send messages of their own.
class HandlerScope {
public:
    HandlerScope() : m_bOuter(MsgHandledFlag()) { MsgHandledFlag() = true; }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;
    ~HandlerScope() { MsgHandledFlag() = m_bOuter; }
    bool Handled() const { return MsgHandledFlag(); }

private:
    bool m_bOuter;
};

// Runs call(), which returns the message result, and reports whether it was kept.
template <class Call> bool Invoke(LRESULT* r, Call call) {
    HandlerScope scope;
    *r = call();
    return scope.Handled();
}

CWnd* WndFromHandle(HWND hWnd);  // the bound object, or nullptr
inline CPoint PointFrom(LPARAM l) {
    return CPoint(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
}

// void OnX()
template <class T, auto pfn> bool Call_v(CCmdTarget* p, WPARAM, LPARAM, LRESULT* r) {
    CheckSignature<pfn, void>();
    return Invoke(r, [&] { return (Target<T>(p)->*pfn)(), LRESULT(0); });
}

// BOOL OnX(): reflected handlers whose result says whether the parent is spared
template <class T, auto pfn> bool Call_b_ex(CCmdTarget* p, WPARAM, LPARAM, LRESULT* r) {
    CheckSignature<pfn, BOOL>();
    HandlerScope scope;
    *r = 0;
    return (Target<T>(p)->*pfn)() != FALSE && scope.Handled();
}

// void OnSysCommand(UINT nID, LPARAM lParam)
template <class T, auto pfn> bool Call_v_u_l(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, UINT, LPARAM>();
    return Invoke(r, [&] { return (Target<T>(p)->*pfn)(static_cast<UINT>(w), l), LRESULT(0); });
}

// HCURSOR OnQueryDragIcon()
template <class T, auto pfn> bool Call_hcur(CCmdTarget* p, WPARAM, LPARAM, LRESULT* r) {
    CheckSignature<pfn, HCURSOR>();
    return Invoke(r, [&] { return reinterpret_cast<LRESULT>((Target<T>(p)->*pfn)()); });
}

// void OnTimer(UINT_PTR nIDEvent)
template <class T, auto pfn> bool Call_timer(CCmdTarget* p, WPARAM w, LPARAM, LRESULT* r) {
    CheckSignature<pfn, void, UINT_PTR>();
    return Invoke(r, [&] { return (Target<T>(p)->*pfn)(static_cast<UINT_PTR>(w)), LRESULT(0); });
}

// BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData)
template <class T, auto pfn> bool Call_devchange(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, BOOL, UINT, DWORD_PTR>();
    return Invoke(r, [&] {
        return LRESULT((Target<T>(p)->*pfn)(static_cast<UINT>(w), static_cast<DWORD_PTR>(l)));
    });
}

// BOOL OnHelpInfo(HELPINFO* pHelpInfo)
template <class T, auto pfn> bool Call_help(CCmdTarget* p, WPARAM, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, BOOL, HELPINFO*>();
    return Invoke(r, [&] { return LRESULT((Target<T>(p)->*pfn)(reinterpret_cast<HELPINFO*>(l))); });
}

// void OnX(NMHDR* pNMHDR, LRESULT* pResult); the result starts at 0
template <class T, auto pfn> bool Call_notify(CCmdTarget* p, WPARAM, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, NMHDR*, LRESULT*>();
    HandlerScope scope;
    *r = 0;
    (Target<T>(p)->*pfn)(reinterpret_cast<NMHDR*>(l), r);
    return scope.Handled();
}

// LRESULT OnX(WPARAM wParam, LPARAM lParam)
template <class T, auto pfn> bool Call_message(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, LRESULT, WPARAM, LPARAM>();
    return Invoke(r, [&] { return (Target<T>(p)->*pfn)(w, l); });
}

// void OnMouseMove(UINT nFlags, CPoint point), and the other button messages
template <class T, auto pfn> bool Call_mouse(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, UINT, CPoint>();
    return Invoke(
        r, [&] { return (Target<T>(p)->*pfn)(static_cast<UINT>(w), PointFrom(l)), LRESULT(0); });
}

// BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
template <class T, auto pfn> bool Call_setcursor(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, BOOL, CWnd*, UINT, UINT>();
    return Invoke(r, [&] {
        return LRESULT(
            (Target<T>(p)->*pfn)(WndFromHandle(reinterpret_cast<HWND>(w)), LOWORD(l), HIWORD(l)));
    });
}

// void OnKillFocus(CWnd* pNewWnd), void OnSetFocus(CWnd* pOldWnd)
template <class T, auto pfn> bool Call_focus(CCmdTarget* p, WPARAM w, LPARAM, LRESULT* r) {
    CheckSignature<pfn, void, CWnd*>();
    return Invoke(r, [&] {
        return (Target<T>(p)->*pfn)(WndFromHandle(reinterpret_cast<HWND>(w))), LRESULT(0);
    });
}

// void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
template <class T, auto pfn> bool Call_activate(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, UINT, CWnd*, BOOL>();
    return Invoke(r, [&] {
        return (Target<T>(p)->*pfn)(LOWORD(w), WndFromHandle(reinterpret_cast<HWND>(l)),
                                    HIWORD(w) != 0),
               LRESULT(0);
    });
}

// void OnEnable(BOOL bEnable)
template <class T, auto pfn> bool Call_enable(CCmdTarget* p, WPARAM w, LPARAM, LRESULT* r) {
    CheckSignature<pfn, void, BOOL>();
    return Invoke(r, [&] { return (Target<T>(p)->*pfn)(static_cast<BOOL>(w)), LRESULT(0); });
}

// UINT OnGetDlgCode()
template <class T, auto pfn> bool Call_u(CCmdTarget* p, WPARAM, LPARAM, LRESULT* r) {
    CheckSignature<pfn, UINT>();
    return Invoke(r, [&] { return LRESULT((Target<T>(p)->*pfn)()); });
}

// void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags), and WM_KEYUP, WM_SYSKEYDOWN, WM_CHAR
template <class T, auto pfn> bool Call_key(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, UINT, UINT, UINT>();
    return Invoke(r, [&] {
        return (Target<T>(p)->*pfn)(static_cast<UINT>(w), LOWORD(l), HIWORD(l)), LRESULT(0);
    });
}

// void OnContextMenu(CWnd* pWnd, CPoint pos); pos is (-1, -1) from the keyboard
template <class T, auto pfn> bool Call_contextmenu(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, CWnd*, CPoint>();
    return Invoke(r, [&] {
        return (Target<T>(p)->*pfn)(WndFromHandle(reinterpret_cast<HWND>(w)), PointFrom(l)),
               LRESULT(0);
    });
}

// void OnUpdateUIState(UINT nAction, UINT nUIElement)
template <class T, auto pfn> bool Call_uistate(CCmdTarget* p, WPARAM w, LPARAM, LRESULT* r) {
    CheckSignature<pfn, void, UINT, UINT>();
    return Invoke(r, [&] { return (Target<T>(p)->*pfn)(LOWORD(w), HIWORD(w)), LRESULT(0); });
}

// void OnDropFiles(HDROP hDropInfo)
template <class T, auto pfn> bool Call_dropfiles(CCmdTarget* p, WPARAM w, LPARAM, LRESULT* r) {
    CheckSignature<pfn, void, HDROP>();
    return Invoke(r, [&] { return (Target<T>(p)->*pfn)(reinterpret_cast<HDROP>(w)), LRESULT(0); });
}

// void OnSize(UINT nType, int cx, int cy)
template <class T, auto pfn> bool Call_size(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, UINT, int, int>();
    return Invoke(r, [&] {
        return (Target<T>(p)->*pfn)(static_cast<UINT>(w), static_cast<short>(LOWORD(l)),
                                    static_cast<short>(HIWORD(l))),
               LRESULT(0);
    });
}

// BOOL OnSetText(LPCSTR lpszText)
template <class T, auto pfn> bool Call_settext(CCmdTarget* p, WPARAM, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, BOOL, LPCSTR>();
    return Invoke(r, [&] { return LRESULT((Target<T>(p)->*pfn)(reinterpret_cast<LPCSTR>(l))); });
}

// void OnSetFont(HFONT hFont, BOOL bRedraw)
template <class T, auto pfn> bool Call_setfont(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, HFONT, BOOL>();
    return Invoke(r, [&] {
        return (Target<T>(p)->*pfn)(reinterpret_cast<HFONT>(w), LOWORD(l) != 0), LRESULT(0);
    });
}

// void OnBmSetStyle(UINT nStyle, BOOL bRedraw)
template <class T, auto pfn> bool Call_bmsetstyle(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, UINT, BOOL>();
    return Invoke(r,
                  [&] { return (Target<T>(p)->*pfn)(static_cast<UINT>(w), l != 0), LRESULT(0); });
}

// void OnBmSetCheck(UINT nCheck)
template <class T, auto pfn> bool Call_bmsetcheck(CCmdTarget* p, WPARAM w, LPARAM, LRESULT* r) {
    CheckSignature<pfn, void, UINT>();
    return Invoke(r, [&] { return (Target<T>(p)->*pfn)(static_cast<UINT>(w)), LRESULT(0); });
}

// void DrawItem(LPDRAWITEMSTRUCT lpDIS): a WM_DRAWITEM reflected to the control it draws
template <class T, auto pfn> bool Call_drawitem(CCmdTarget* p, WPARAM, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, LPDRAWITEMSTRUCT>();
    return Invoke(r, [&] {
        return (Target<T>(p)->*pfn)(reinterpret_cast<LPDRAWITEMSTRUCT>(l)), LRESULT(TRUE);
    });
}

}  // namespace afx

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr }                                                                        \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

#define AFX_ENTRY(msg, code, id, lastId, thunk, fn)                                                \
    {static_cast<UINT>(msg), static_cast<UINT>(code), static_cast<UINT>(id),                       \
     static_cast<UINT>(lastId), &afx::thunk<ThisClass, fn>},

// void OnPaint()
#define ON_WM_PAINT() AFX_ENTRY(WM_PAINT, 0, 0, 0, Call_v, &ThisClass::OnPaint)
// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND() AFX_ENTRY(WM_SYSCOMMAND, 0, 0, 0, Call_v_u_l, &ThisClass::OnSysCommand)
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON()                                                                      \
    AFX_ENTRY(WM_QUERYDRAGICON, 0, 0, 0, Call_hcur, &ThisClass::OnQueryDragIcon)
// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER() AFX_ENTRY(WM_TIMER, 0, 0, 0, Call_timer, &ThisClass::OnTimer)
// BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData)
#define ON_WM_DEVICECHANGE()                                                                       \
    AFX_ENTRY(WM_DEVICECHANGE, 0, 0, 0, Call_devchange, &ThisClass::OnDeviceChange)
// BOOL OnHelpInfo(HELPINFO* pHelpInfo)
#define ON_WM_HELPINFO() AFX_ENTRY(WM_HELP, 0, 0, 0, Call_help, &ThisClass::OnHelpInfo)
// LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(msg, fn) AFX_ENTRY(msg, 0, 0, 0, Call_message, fn)
// void OnMouseMove(UINT nFlags, CPoint point)
#define ON_WM_MOUSEMOVE() AFX_ENTRY(WM_MOUSEMOVE, 0, 0, 0, Call_mouse, &ThisClass::OnMouseMove)
// void OnLButtonDown(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONDOWN()                                                                        \
    AFX_ENTRY(WM_LBUTTONDOWN, 0, 0, 0, Call_mouse, &ThisClass::OnLButtonDown)
// void OnLButtonUp(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONUP() AFX_ENTRY(WM_LBUTTONUP, 0, 0, 0, Call_mouse, &ThisClass::OnLButtonUp)
// void OnLButtonDblClk(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONDBLCLK()                                                                      \
    AFX_ENTRY(WM_LBUTTONDBLCLK, 0, 0, 0, Call_mouse, &ThisClass::OnLButtonDblClk)
// void OnRButtonDown(UINT nFlags, CPoint point)
#define ON_WM_RBUTTONDOWN()                                                                        \
    AFX_ENTRY(WM_RBUTTONDOWN, 0, 0, 0, Call_mouse, &ThisClass::OnRButtonDown)
// void OnMouseLeave()
#define ON_WM_MOUSELEAVE() AFX_ENTRY(WM_MOUSELEAVE, 0, 0, 0, Call_v, &ThisClass::OnMouseLeave)
// BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message); pWnd is nullptr for a window
// no object is bound to
#define ON_WM_SETCURSOR() AFX_ENTRY(WM_SETCURSOR, 0, 0, 0, Call_setcursor, &ThisClass::OnSetCursor)
// void OnSetFocus(CWnd* pOldWnd)
#define ON_WM_SETFOCUS() AFX_ENTRY(WM_SETFOCUS, 0, 0, 0, Call_focus, &ThisClass::OnSetFocus)
// void OnKillFocus(CWnd* pNewWnd)
#define ON_WM_KILLFOCUS() AFX_ENTRY(WM_KILLFOCUS, 0, 0, 0, Call_focus, &ThisClass::OnKillFocus)
// void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
#define ON_WM_ACTIVATE() AFX_ENTRY(WM_ACTIVATE, 0, 0, 0, Call_activate, &ThisClass::OnActivate)
// void OnEnable(BOOL bEnable)
#define ON_WM_ENABLE() AFX_ENTRY(WM_ENABLE, 0, 0, 0, Call_enable, &ThisClass::OnEnable)
// void OnCancelMode()
#define ON_WM_CANCELMODE() AFX_ENTRY(WM_CANCELMODE, 0, 0, 0, Call_v, &ThisClass::OnCancelMode)
// void OnSysColorChange()
#define ON_WM_SYSCOLORCHANGE()                                                                     \
    AFX_ENTRY(WM_SYSCOLORCHANGE, 0, 0, 0, Call_v, &ThisClass::OnSysColorChange)
// UINT OnGetDlgCode()
#define ON_WM_GETDLGCODE() AFX_ENTRY(WM_GETDLGCODE, 0, 0, 0, Call_u, &ThisClass::OnGetDlgCode)
// void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
#define ON_WM_KEYDOWN() AFX_ENTRY(WM_KEYDOWN, 0, 0, 0, Call_key, &ThisClass::OnKeyDown)
// void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
#define ON_WM_SYSKEYDOWN() AFX_ENTRY(WM_SYSKEYDOWN, 0, 0, 0, Call_key, &ThisClass::OnSysKeyDown)
// void OnContextMenu(CWnd* pWnd, CPoint pos)
#define ON_WM_CONTEXTMENU()                                                                        \
    AFX_ENTRY(WM_CONTEXTMENU, 0, 0, 0, Call_contextmenu, &ThisClass::OnContextMenu)
// void OnUpdateUIState(UINT nAction, UINT nUIElement)
#define ON_WM_UPDATEUISTATE()                                                                      \
    AFX_ENTRY(WM_UPDATEUISTATE, 0, 0, 0, Call_uistate, &ThisClass::OnUpdateUIState)
// void OnDropFiles(HDROP hDropInfo)
#define ON_WM_DROPFILES() AFX_ENTRY(WM_DROPFILES, 0, 0, 0, Call_dropfiles, &ThisClass::OnDropFiles)
// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE() AFX_ENTRY(WM_SIZE, 0, 0, 0, Call_size, &ThisClass::OnSize)
// void OnDestroy()
#define ON_WM_DESTROY() AFX_ENTRY(WM_DESTROY, 0, 0, 0, Call_v, &ThisClass::OnDestroy)
// BOOL OnSetText(LPCSTR lpszText)
#define ON_WM_SETTEXT() AFX_ENTRY(WM_SETTEXT, 0, 0, 0, Call_settext, &ThisClass::OnSetText)
// void OnSetFont(HFONT hFont, BOOL bRedraw)
#define ON_WM_SETFONT() AFX_ENTRY(WM_SETFONT, 0, 0, 0, Call_setfont, &ThisClass::OnSetFont)
// void OnBmSetStyle(UINT nStyle, BOOL bRedraw): a button asked to change its type
#define ON_BM_SETSTYLE() AFX_ENTRY(BM_SETSTYLE, 0, 0, 0, Call_bmsetstyle, &ThisClass::OnBmSetStyle)
// void OnBmSetCheck(UINT nCheck): BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
#define ON_BM_SETCHECK() AFX_ENTRY(BM_SETCHECK, 0, 0, 0, Call_bmsetcheck, &ThisClass::OnBmSetCheck)
// UINT OnBmGetCheck()
#define ON_BM_GETCHECK() AFX_ENTRY(BM_GETCHECK, 0, 0, 0, Call_u, &ThisClass::OnBmGetCheck)

// void fn(): a menu, toolbar or accelerator command, or a button click
#define ON_COMMAND(id, fn) AFX_ENTRY(WM_COMMAND, 0, id, id, Call_v, fn)
#define ON_COMMAND_RANGE_V(first, last, fn) AFX_ENTRY(WM_COMMAND, 0, first, last, Call_v, fn)
// void fn(): a control notification sent with WM_COMMAND
#define ON_CONTROL(code, id, fn) AFX_ENTRY(WM_COMMAND, code, id, id, Call_v, fn)
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
// void fn(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY(code, id, fn) AFX_ENTRY(WM_NOTIFY, code, id, id, Call_notify, fn)

// Reflected notifications, handled by the control that sent them.
// void fn(): consumes the notification
#define ON_CONTROL_REFLECT(code, fn) AFX_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, Call_v, fn)
// BOOL fn(): FALSE lets the parent handle the notification as well
#define ON_CONTROL_REFLECT_EX(code, fn)                                                            \
    AFX_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, Call_b_ex, fn)
// void fn(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY_REFLECT(code, fn)                                                                \
    AFX_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, Call_notify, fn)
// void DrawItem(LPDRAWITEMSTRUCT lpDIS), for the WM_DRAWITEM the parent gets for the control
#define ON_WM_DRAWITEM_REFLECT()                                                                   \
    AFX_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, 0, Call_drawitem, &ThisClass::DrawItem)

// The entries below lend the handler the message's DC for the call only.
#include "framework/DC.h"

namespace afx {
// BOOL OnEraseBkgnd(CDC* pDC)
template <class T, auto pfn> bool Call_erase(CCmdTarget* p, WPARAM w, LPARAM, LRESULT* r) {
    CheckSignature<pfn, BOOL, CDC*>();
    CDCHandle dc(reinterpret_cast<HDC>(w));
    return Invoke(r, [&] { return LRESULT((Target<T>(p)->*pfn)(&dc)); });
}

// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor): a WM_CTLCOLOR* the control sent its parent;
// nCtlColor is CTLCOLOR_BTN, CTLCOLOR_STATIC and so on. nullptr leaves it to the parent.
template <class T, auto pfn> bool Call_ctlcolor(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, HBRUSH, CDC*, UINT>();
    CDCHandle dc(reinterpret_cast<HDC>(w));
    UINT nCtlColor = static_cast<UINT>(l);  // the reflection passes the CTLCOLOR_ index here
    return Invoke(r,
                  [&] { return reinterpret_cast<LRESULT>((Target<T>(p)->*pfn)(&dc, nCtlColor)); });
}

// void OnPrintClient(CDC* pDC, UINT nFlags); nFlags are the PRF_* flags
template <class T, auto pfn> bool Call_printclient(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, CDC*, UINT>();
    CDCHandle dc(reinterpret_cast<HDC>(w));
    return Invoke(r, [&] { return (Target<T>(p)->*pfn)(&dc, static_cast<UINT>(l)), LRESULT(0); });
}
}  // namespace afx

// BOOL OnEraseBkgnd(CDC* pDC)
#define ON_WM_ERASEBKGND() AFX_ENTRY(WM_ERASEBKGND, 0, 0, 0, Call_erase, &ThisClass::OnEraseBkgnd)
// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor), for every WM_CTLCOLOR* the control sends
#define ON_WM_CTLCOLOR_REFLECT()                                                                   \
    AFX_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, Call_ctlcolor, &ThisClass::CtlColor)
// void OnPrintClient(CDC* pDC, UINT nFlags): paint the client area into pDC
#define ON_WM_PRINTCLIENT()                                                                        \
    AFX_ENTRY(WM_PRINTCLIENT, 0, 0, 0, Call_printclient, &ThisClass::OnPrintClient)
