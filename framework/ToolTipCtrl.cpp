#include "framework/ToolTipCtrl.h"

namespace {
// A tool that is a whole window: it is known by its handle, its owner's parent gets its
// notifications.
TTTOOLINFOA WindowTool(const CWnd* pWnd, LPCSTR lpszText) {
    TTTOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = pWnd->GetParent();
    ti.uId = reinterpret_cast<UINT_PTR>(pWnd->m_hWnd);
    ti.lpszText = const_cast<LPSTR>(lpszText);
    return ti;
}
}  // namespace

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    // The class may not be registered yet in a program that did not ask for it.
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle,
                    CRect(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT), pParentWnd,
                    0);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText) {
    TTTOOLINFOA ti = WindowTool(pWnd, lpszText);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd) {
    TTTOOLINFOA ti = WindowTool(pWnd, lpszText);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

BOOL CToolTipCtrl::HasTool(CWnd* pWnd) const {
    TTTOOLINFOA ti = WindowTool(pWnd, nullptr);
    return static_cast<BOOL>(SendMessage(TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti)));
}
