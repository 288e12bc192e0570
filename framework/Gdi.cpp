#include "framework/Gdi.h"

#include "framework/CodePage.h"

#include <cstdlib>

LOGFONTA afx::PointFontLogFont(int nPointSize, LPCSTR lpszFaceName, HDC hDC) {
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    if (lpszFaceName)
        CopyWholeChars(lf.lfFaceName, LF_FACESIZE, lpszFaceName);
    HDC hMeasure = hDC ? hDC : ::GetDC(nullptr);
    // Tenths of a point to device pixels (truncated), then to the DC's logical units;
    // negative asks for the character height rather than the cell height.
    POINT pt = {0, ::GetDeviceCaps(hMeasure, LOGPIXELSY) * nPointSize / 720};
    POINT ptOrg = {0, 0};
    ::DPtoLP(hMeasure, &pt, 1);
    ::DPtoLP(hMeasure, &ptOrg, 1);
    lf.lfHeight = -std::abs(pt.y - ptOrg.y);
    if (!hDC)
        ::ReleaseDC(nullptr, hMeasure);
    return lf;
}
