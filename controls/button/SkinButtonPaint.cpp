// Owner-draw painting: the face (or the parent's pixels), the border, the icon, the masked
// bitmap, the caption and the focus rectangle, each step a virtual a derived class may
// replace.
#include "controls/button/SkinButton.h"

#include <initializer_list>

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// One pixel wide solid lines from the first point through the others; the last point is
// not painted. The DC's pen is put back.
void DrawPolyline(CDC* pDC, int nSysColor, std::initializer_list<POINT> points) {
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, ::GetSysColor(nSysColor));
    CSelectGuard select(*pDC, pen);
    const POINT* pt = points.begin();
    pDC->MoveTo(pt->x, pt->y);
    for (++pt; pt != points.end(); ++pt)
        pDC->LineTo(pt->x, pt->y);
}

void FrameWithColor(CDC* pDC, const RECT* pRect, COLORREF cr) {
    CBrush brush;
    brush.CreateSolidBrush(cr);
    pDC->FrameRect(pRect, brush);
}

}  // namespace

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    CDCHandle dc(lpDIS->hDC);
    CDC* pDC = &dc;
    const BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    if (m_bCheckMode)
        m_bDrawPressed = bSelected || m_bChecked;
    else
        m_bDrawPressed = bSelected || (!m_hMenu.IsNull() && m_bMenuOpen);
    m_bDrawFocused = lpDIS->itemState & ODS_FOCUS;
    const BOOL bDisabled = lpDIS->itemState & ODS_DISABLED;

    CRect rcFrame = lpDIS->rcItem;
    pDC->SetBkMode(TRANSPARENT);
    if (m_bCopyParentBackground)
        CopyParentBackground(pDC);
    else
        PaintFace(pDC, rcFrame);
    PaintFrame(pDC, rcFrame);

    const CString caption = GetWindowText();
    CRect rcCaption = lpDIS->rcItem;
    const BOOL bHasCaption = !caption.IsEmpty() && !m_bTextForReadersOnly;
    if (m_icons[0].hIcon)
        PaintIcon(pDC, bHasCaption, &lpDIS->rcItem, rcCaption, m_bDrawPressed, bDisabled);
    if (m_bitmaps[0].hBitmap) {
        pDC->SetBkColor(kWhite);
        PaintBitmap(pDC, bHasCaption, &lpDIS->rcItem, rcCaption, m_bDrawPressed, bDisabled);
    }
    if (bHasCaption)
        PaintCaption(pDC, caption, &lpDIS->rcItem, rcCaption, m_bDrawPressed, bDisabled);
    // A flat button shows where the keyboard is, as standard buttons do: while the window
    // shows keyboard cues, which the mouse leaves hidden.
    const BOOL bCuesShown = !(lpDIS->itemState & ODS_NOFOCUSRECT) && !m_bFocusCuesHidden;
    if ((!m_bFlat || m_bFlatFocusRect || bCuesShown) && m_bDrawFocused) {
        CRect rcFocus = rcFrame;
        rcFocus.DeflateRect(3, 3);
        pDC->DrawFocusRect(rcFocus);
    }
}

int CSkinButton::PaintFace(CDC* pDC, RECT* pRect) {
    if (!m_bFlat && (m_bDrawFocused || m_bDefault)) {
        FrameWithColor(pDC, pRect, kBlack);
        ::InflateRect(pRect, -1, -1);
    }
    int nSlot = ColorIdleFace;
    if (m_bHover || m_bDrawPressed)
        nSlot = ColorHotFace;
    else if (m_bDrawFocused)
        nSlot = ColorFocusFace;
    CBrush brush;
    brush.CreateSolidBrush(m_crColors[nSlot]);
    pDC->FillRect(pRect, brush);
    return 0;
}

int CSkinButton::PaintFrame(CDC* pDC, RECT* pRect) {
    const COLORREF crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_bDrawPressed) {
        if (!m_bFlat)
            FrameWithColor(pDC, pRect, crShadow);
        else if (m_bFlatFrame)
            pDC->Draw3dRect(pRect, crShadow, crHighlight);
    } else if (m_bFlat) {
        if (m_bHover && m_bFlatFrame)
            pDC->Draw3dRect(pRect, crHighlight, crShadow);
    } else {
        const LONG l = pRect->left, t = pRect->top, r = pRect->right, b = pRect->bottom;
        DrawPolyline(pDC, COLOR_BTNHIGHLIGHT, {{l, b - 1}, {l, t}, {r, t}});
        DrawPolyline(pDC, COLOR_3DLIGHT, {{l + 1, b - 1}, {l + 1, t + 1}, {r, t + 1}});
        DrawPolyline(pDC, COLOR_3DDKSHADOW, {{l, b - 1}, {r - 1, b - 1}, {r - 1, t - 1}});
        DrawPolyline(pDC, COLOR_BTNSHADOW, {{l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t}});
    }
    return 0;
}

void CSkinButton::PlaceImage(BOOL bHasCaption, const RECT* pItem, RECT* pCaption, BOOL bPressed,
                             DWORD cx, DWORD cy, RECT* pImage) {
    *pImage = *pItem;
    const int nCx = static_cast<int>(cx), nCy = static_cast<int>(cy);
    auto centreX = [&] { pImage->left += (pImage->right - pImage->left - nCx) / 2; };
    auto centreY = [&] { pImage->top += (pImage->bottom - pImage->top - nCy) / 2; };
    switch (m_nImageAlign) {
    case ImageLeft:
        if (bHasCaption) {
            pImage->left += m_ptImageMargin.x;
            pCaption->left += m_ptImageMargin.x + nCx;
        } else {
            centreX();
        }
        centreY();
        break;
    case ImageAbove:
        centreX();
        if (bHasCaption) {
            pImage->top = m_ptImageMargin.y;
            pCaption->top += nCy;
        } else {
            centreY();
        }
        break;
    case ImageRight: {
        CRect rcClient;
        GetClientRect(rcClient);
        if (bHasCaption) {
            pCaption->right -= pCaption->left + m_ptImageMargin.x + nCx;
            pCaption->left = m_ptImageMargin.x;
            pImage->left = rcClient.right - m_ptImageMargin.x - nCx;
            centreY();
        } else {
            centreX();
        }
        break;
    }
    default:
        break;
    }
    if (bPressed && !m_bCheckMode)
        ::OffsetRect(pImage, m_ptPressedShift.x, m_ptPressedShift.y);
}

int CSkinButton::PaintIcon(CDC* pDC, BOOL bHasCaption, const RECT* pItem, RECT* pCaption,
                           BOOL bPressed, BOOL bDisabled) {
    const BOOL bHot = m_bCheckMode ? bPressed : (bPressed || m_bHover);
    const SkinIcon& icon = bHot || !m_icons[1].hIcon ? m_icons[0] : m_icons[1];
    CRect rcImage;
    PlaceImage(bHasCaption, pItem, pCaption, bPressed, icon.cx, icon.cy, rcImage);
    pDC->DrawState(reinterpret_cast<LPARAM>(icon.hIcon), rcImage.left, rcImage.top, rcImage.Width(),
                   rcImage.Height(), DST_ICON | (bDisabled ? DSS_DISABLED : 0));
    return 0;
}

int CSkinButton::PaintBitmap(CDC* pDC, BOOL bHasCaption, const RECT* pItem, RECT* pCaption,
                             BOOL bPressed, BOOL bDisabled) {
    const BOOL bHot = m_bCheckMode ? bPressed : (bPressed || m_bHover);
    const SkinBitmap& bitmap = bHot || !m_bitmaps[1].hBitmap ? m_bitmaps[0] : m_bitmaps[1];
    const int cx = static_cast<int>(bitmap.cx), cy = static_cast<int>(bitmap.cy);
    CRect rcImage;
    PlaceImage(bHasCaption, pItem, pCaption, bPressed, bitmap.cx, bitmap.cy, rcImage);

    CMemoryDC dcImage, dcMask;
    dcImage.CreateCompatibleDC(*pDC);
    dcMask.CreateCompatibleDC(nullptr);
    CSelectGuard selectImage(dcImage, bitmap.hBitmap);
    CSelectGuard selectMask(dcMask, bitmap.hMask);
    if (bDisabled && m_bEmbossDisabledBitmap) {
        // The image on white, which the system's disabled rendering embosses.
        CBitmap composed;
        composed.CreateCompatibleBitmap(*pDC, cx, cy);
        {
            CMemoryDC dcComposed;
            dcComposed.CreateCompatibleDC(*pDC);
            CSelectGuard selectComposed(dcComposed, composed);
            CBrush white;
            white.CreateSolidBrush(kWhite);
            // All of it: an image larger than the button reaches past the button's edges.
            CRect rcWhite(0, 0, cx, cy);
            dcComposed.FillRect(rcWhite, white);
            const COLORREF crOldBk = dcComposed.SetBkColor(kWhite);
            dcComposed.BitBlt(0, 0, cx, cy, dcMask, 0, 0, SRCAND);
            dcComposed.BitBlt(0, 0, cx, cy, dcImage, 0, 0, SRCPAINT);
            dcComposed.SetBkColor(crOldBk);
        }
        pDC->DrawState(reinterpret_cast<LPARAM>(static_cast<HBITMAP>(composed)), rcImage.left,
                       rcImage.top, cx, cy, DST_BITMAP | DSS_DISABLED);
    } else {
        // The mask's white leaves the face, its black clears where the image then shows.
        pDC->BitBlt(rcImage.left, rcImage.top, cx, cy, dcMask, 0, 0, SRCAND);
        pDC->BitBlt(rcImage.left, rcImage.top, cx, cy, dcImage, 0, 0, SRCPAINT);
    }
    return 0;
}

int CSkinButton::PaintCaption(CDC* pDC, LPCSTR pszCaption, const RECT*, RECT* pCaption,
                              BOOL bPressed, BOOL bDisabled) {
    if (bPressed && !m_bCheckMode)
        ::OffsetRect(pCaption, m_ptPressedShift.x, m_ptPressedShift.y);
    const CRect rcBox = *pCaption;
    pDC->DrawText(pszCaption, -1, pCaption, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    const CRect rcText = *pCaption;
    ::OffsetRect(pCaption, (rcBox.Width() - rcText.Width()) / 2,
                 (rcBox.Height() - rcText.Height()) / 2);
    pDC->SetBkMode(TRANSPARENT);
    if (bDisabled) {
        ::OffsetRect(pCaption, 1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        pDC->DrawText(pszCaption, -1, pCaption, DT_WORDBREAK | DT_CENTER);
        ::OffsetRect(pCaption, -1, -1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        pDC->DrawText(pszCaption, -1, pCaption, DT_WORDBREAK | DT_CENTER);
        return 0;
    }
    int nText = ColorIdleText, nFace = ColorIdleFace;
    if (m_bHover || bPressed) {
        nText = ColorHotText;
        nFace = ColorHotFace;
    } else if (m_bDrawFocused) {
        nText = ColorFocusText;
        nFace = ColorFocusFace;
    }
    pDC->SetTextColor(m_crColors[nText]);
    pDC->SetBkColor(m_crColors[nFace]);
    pDC->DrawText(pszCaption, -1, pCaption, DT_WORDBREAK | DT_CENTER);
    return 0;
}

void CSkinButton::CopyParentBackground(CDC* pDC) {
    const HWND hParent = GetParent();
    CClientDC dcParent(hParent);
    CRect rcClient, rcWindow;
    GetClientRect(rcClient);
    GetWindowRect(rcWindow);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&rcWindow), 2);
    const int w = rcClient.Width(), h = rcClient.Height();
    // Read from the screen once, and again only when the cache no longer fits the button.
    const HBITMAP hCached = m_background.Bitmap();
    const HDC hCache = m_background.Get(dcParent, w, h);
    if (!hCache)
        return;
    if (m_background.Bitmap() != hCached)
        ::BitBlt(hCache, 0, 0, w, h, dcParent, rcWindow.left, rcWindow.top, SRCCOPY);
    pDC->BitBlt(0, 0, w, h, hCache, 0, 0, SRCCOPY);
}
