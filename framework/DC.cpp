#include "framework/DC.h"

#include "framework/Wnd.h"

BOOL CMemoryDC::CreateCompatibleDC(HDC hDC) {
    if (m_hDC)
        return FALSE;
    m_hDC = m_hAttribDC = ::CreateCompatibleDC(hDC);
    return m_hDC != nullptr;
}

BOOL CMemoryDC::DeleteDC() {
    BOOL ok = m_hDC && ::DeleteDC(m_hDC);
    m_hDC = m_hAttribDC = nullptr;
    return ok;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF cr) {
    // ETO_OPAQUE fills without creating a brush.
    COLORREF old = ::SetBkColor(m_hDC, cr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF crTopLeft, COLORREF crBottomRight) {
    const int x = lpRect->left, y = lpRect->top;
    const int cx = lpRect->right - x, cy = lpRect->bottom - y;
    // The top and left edges stop short of the corners that the other colour owns.
    CRect top(x, y, x + cx - 1, y + 1), left(x, y, x + 1, y + cy - 1);
    CRect right(x + cx - 1, y, x + cx, y + cy), bottom(x, y + cy - 1, x + cx, y + cy);
    FillSolidRect(top, crTopLeft);
    FillSolidRect(left, crTopLeft);
    FillSolidRect(right, crBottomRight);
    FillSolidRect(bottom, crBottomRight);
}

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hAttribDC, lpszString, nCount, &size);
    return CSize(size.cx, size.cy);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
    m_hAttribDC = m_hDC;
}

CPaintDC::~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    m_hDC = ::GetDC(m_hWnd);
    m_hAttribDC = m_hDC;
}

CClientDC::CClientDC(HWND hWnd) : m_hWnd(hWnd) {
    m_hDC = ::GetDC(m_hWnd);
    m_hAttribDC = m_hDC;
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, m_hDC); }
