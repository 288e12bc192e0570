#include "framework/Gdi.h"

#include "framework/CodePage.h"
#include "framework/DC.h"

#include <cstdlib>

BOOL CGdiObject::Attach(HGDIOBJ h) {
    DeleteObject();
    m_hObject = h;
    return h != nullptr;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    BOOL ok = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return ok;
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC) {
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    if (lpszFaceName)
        CopyWholeChars(lf.lfFaceName, LF_FACESIZE, lpszFaceName);
    HDC hDC = pDC ? pDC->m_hAttribDC : ::GetDC(nullptr);
    // Tenths of a point to device pixels (truncated), then to the DC's logical units;
    // negative asks for the character height rather than the cell height.
    POINT pt = {0, ::GetDeviceCaps(hDC, LOGPIXELSY) * nPointSize / 720};
    POINT ptOrg = {0, 0};
    ::DPtoLP(hDC, &pt, 1);
    ::DPtoLP(hDC, &ptOrg, 1);
    lf.lfHeight = -std::abs(pt.y - ptOrg.y);
    if (!pDC)
        ::ReleaseDC(nullptr, hDC);
    return CreateFontIndirect(&lf);
}
