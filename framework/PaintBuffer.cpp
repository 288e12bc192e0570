#include "framework/PaintBuffer.h"

HDC CPaintBuffer::Get(HDC hTarget, int cx, int cy) {
    if (m_dc.m_hDC && cx <= m_size.cx && cy <= m_size.cy)
        return m_dc;
    Release();
    if (!m_dc.CreateCompatibleDC(hTarget) || !m_bitmap.CreateCompatibleBitmap(hTarget, cx, cy)) {
        Release();
        return nullptr;
    }
    m_oldBitmap.Attach(static_cast<HBITMAP>(m_dc.SelectObject(m_bitmap)));
    m_size = CSize(cx, cy);
    return m_dc;
}

void CPaintBuffer::Release() {
    if (!m_oldBitmap.IsNull())
        m_dc.SelectObject(m_oldBitmap.Detach());
    m_bitmap.DeleteObject();
    m_dc.DeleteDC();
    m_size = CSize(0, 0);
}
