// Static, table-driven message maps. Each class lists its handlers in a table
// that chains to its base class's table; a handler is reached through a thunk
// instantiated for its exact signature, so a handler with the wrong signature
// does not compile.
#pragma once

#include <windows.h>

#include <type_traits>

class CCmdTarget;
class CDC;

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

// void OnX()
template <class T, auto pfn> bool Call_v(CCmdTarget* p, WPARAM, LPARAM, LRESULT* r) {
    CheckSignature<pfn, void>();
    (Target<T>(p)->*pfn)();
    *r = 0;
    return true;
}

// BOOL OnX(): reflected handlers whose result says whether the parent is spared
template <class T, auto pfn> bool Call_b_ex(CCmdTarget* p, WPARAM, LPARAM, LRESULT* r) {
    CheckSignature<pfn, BOOL>();
    *r = 0;
    return (Target<T>(p)->*pfn)() != FALSE;
}

// void OnSysCommand(UINT nID, LPARAM lParam)
template <class T, auto pfn> bool Call_v_u_l(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, UINT, LPARAM>();
    (Target<T>(p)->*pfn)(static_cast<UINT>(w), l);
    *r = 0;
    return true;
}

// HCURSOR OnQueryDragIcon()
template <class T, auto pfn> bool Call_hcur(CCmdTarget* p, WPARAM, LPARAM, LRESULT* r) {
    CheckSignature<pfn, HCURSOR>();
    *r = reinterpret_cast<LRESULT>((Target<T>(p)->*pfn)());
    return true;
}

// void OnTimer(UINT_PTR nIDEvent)
template <class T, auto pfn> bool Call_timer(CCmdTarget* p, WPARAM w, LPARAM, LRESULT* r) {
    CheckSignature<pfn, void, UINT_PTR>();
    (Target<T>(p)->*pfn)(static_cast<UINT_PTR>(w));
    *r = 0;
    return true;
}

// BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData)
template <class T, auto pfn> bool Call_devchange(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, BOOL, UINT, DWORD_PTR>();
    *r = (Target<T>(p)->*pfn)(static_cast<UINT>(w), static_cast<DWORD_PTR>(l));
    return true;
}

// BOOL OnHelpInfo(HELPINFO* pHelpInfo)
template <class T, auto pfn> bool Call_help(CCmdTarget* p, WPARAM, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, BOOL, HELPINFO*>();
    *r = (Target<T>(p)->*pfn)(reinterpret_cast<HELPINFO*>(l));
    return true;
}

// void OnX(NMHDR* pNMHDR, LRESULT* pResult); the result starts at 0
template <class T, auto pfn> bool Call_notify(CCmdTarget* p, WPARAM, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, void, NMHDR*, LRESULT*>();
    *r = 0;
    (Target<T>(p)->*pfn)(reinterpret_cast<NMHDR*>(l), r);
    return true;
}

// LRESULT OnX(WPARAM wParam, LPARAM lParam)
template <class T, auto pfn> bool Call_message(CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {
    CheckSignature<pfn, LRESULT, WPARAM, LPARAM>();
    *r = (Target<T>(p)->*pfn)(w, l);
    return true;
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
// LRESULT fn(WPARAM, LPARAM) for a reflected WM_DRAWITEM, WM_CTLCOLOR* and the like
#define ON_REFLECTED_MESSAGE(msg, fn) AFX_ENTRY(WM_REFLECT_BASE + (msg), 0, 0, 0, Call_message, fn)

// BOOL OnEraseBkgnd(CDC* pDC): the DC is lent for the call only
#include "framework/DC.h"

namespace afx {
template <class T, auto pfn> bool Call_erase(CCmdTarget* p, WPARAM w, LPARAM, LRESULT* r) {
    CheckSignature<pfn, BOOL, CDC*>();
    CBorrowedDC dc(reinterpret_cast<HDC>(w));
    *r = (Target<T>(p)->*pfn)(&dc);
    return true;
}
}  // namespace afx

#define ON_WM_ERASEBKGND() AFX_ENTRY(WM_ERASEBKGND, 0, 0, 0, Call_erase, &ThisClass::OnEraseBkgnd)
