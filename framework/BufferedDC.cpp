#include "framework/BufferedDC.h"

namespace {

const ATOM kDialogClassAtom = 0x8002;

}  // namespace

CBufferedDC::CBufferedDC(CDC* pDC, const RECT& rcArea, CPaintBuffer* pBuffer) : m_pDC(pDC) {
    CRect rcClip;
    pDC->GetClipBox(rcClip);
    ::IntersectRect(m_rect, rcClip, &rcArea);
    // Without a buffer (printing, or no handles left) drawing still reaches the target.
    m_bMemDC = !pDC->IsPrinting() && UseBuffer(pBuffer ? *pBuffer : m_ownBuffer);
    if (!m_bMemDC) {
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
        m_bPrinting = pDC->IsPrinting();
    }
    FillBackground();
}

CBufferedDC::~CBufferedDC() {
    if (!m_bMemDC)
        return;
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left,
                  m_rect.top, SRCCOPY);
    ::RestoreDC(m_hDC, m_nSavedDC);
}

BOOL CBufferedDC::UseBuffer(CPaintBuffer& buffer) {
    CRect rcDevice = m_rect;
    m_pDC->LPtoDP(rcDevice);
    HDC hMemDC = buffer.Get(m_pDC->m_hDC, rcDevice.Width(), rcDevice.Height());
    // Whatever this paint selects or sets, the next one finds the DC as this one did.
    const int nSaved = hMemDC ? ::SaveDC(hMemDC) : 0;
    if (!nSaved)
        return FALSE;
    m_hDC = m_hAttribDC = hMemDC;
    m_nSavedDC = nSaved;
    MatchTarget();
    return TRUE;
}

void CBufferedDC::MatchTarget() {
    HDC hAttrib = m_pDC->m_hAttribDC;
    SIZE size;
    ::SetMapMode(m_hDC, ::GetMapMode(hAttrib));
    ::GetWindowExtEx(hAttrib, &size);
    ::SetWindowExtEx(m_hDC, size.cx, size.cy, nullptr);
    ::GetViewportExtEx(hAttrib, &size);
    ::SetViewportExtEx(m_hDC, size.cx, size.cy, nullptr);
    // The bitmap's first pixel stands for the covered area's corner.
    ::SetWindowOrgEx(m_hDC, m_rect.left, m_rect.top, nullptr);
}

void CBufferedDC::FillBackground() {
    HWND hWnd = ::WindowFromDC(m_pDC->m_hDC);
    if (hWnd && ::GetClassWord(hWnd, GCW_ATOM) == kDialogClassAtom) {
        FillSolidRect(m_rect, ::GetSysColor(COLOR_BTNFACE));
        return;
    }
    // May be a system colour index + 1, which FillRect understands; never deleted.
    auto hBrush =
        hWnd ? reinterpret_cast<HBRUSH>(::GetClassLongPtrA(hWnd, GCLP_HBRBACKGROUND)) : nullptr;
    if (hBrush)
        ::FillRect(m_hDC, m_rect, hBrush);
    else
        FillSolidRect(m_rect, m_pDC->GetBkColor());
}
