// The settings operations: each stores its value, owns the handles it is given and
// repaints when asked.
#include "controls/button/SkinButton.h"

#include "framework/CodePage.h"

#include <cstring>

int CSkinButton::SetPressedStyle(BYTE nStyle, BOOL bRepaint) {
    if (nStyle == PressedShiftDiagonal)
        m_ptPressedShift = {1, 1};
    else if (nStyle == PressedShiftDown)
        m_ptPressedShift = {0, 2};
    else
        return SkinBadPressedStyle;
    if (bRepaint)
        Repaint();
    return SkinOk;
}

int CSkinButton::SetChecked(int nCheck, BOOL bRepaint) {
    if (m_bCheckMode) {
        m_bChecked = nCheck != 0;
        if (bRepaint)
            Repaint();
    }
    return SkinOk;
}

int CSkinButton::ResetColors(BOOL bRepaint) {
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF crText = ::GetSysColor(COLOR_BTNTEXT);
    m_crColors[ColorHotFace] = m_crColors[ColorIdleFace] = m_crColors[ColorFocusFace] = crFace;
    m_crColors[ColorHotText] = m_crColors[ColorIdleText] = m_crColors[ColorFocusText] = crText;
    if (bRepaint)
        Repaint();
    return SkinOk;
}

int CSkinButton::SetUrl(LPCSTR pszUrl) {
    std::memset(m_szUrl, 0, sizeof(m_szUrl));
    CopyWholeChars(m_szUrl, sizeof(m_szUrl), pszUrl);
    return SkinOk;
}

int CSkinButton::SetFlat(BOOL bFlat, BOOL bRepaint) {
    m_bFlat = bFlat;
    // Only a flat button tracks the pointer, so a raised one must not keep the hot look.
    if (!bFlat)
        m_bHover = FALSE;
    if (bRepaint)
        Repaint();
    return SkinOk;
}

int CSkinButton::SetColor(BYTE nSlot, COLORREF crColor, BOOL bRepaint) {
    if (nSlot >= sizeof(m_crColors) / sizeof(m_crColors[0]))
        return SkinBadColorSlot;
    m_crColors[nSlot] = crColor;
    if (bRepaint)
        Repaint();
    return SkinOk;
}

int CSkinButton::SetImageMargin(int x, int y, BOOL bRepaint) {
    m_ptImageMargin = {x, y};
    if (bRepaint)
        Repaint();
    return SkinOk;
}

int CSkinButton::SetImageAlign(BYTE nAlign, BOOL bRepaint) {
    m_nImageAlign = nAlign;
    if (bRepaint)
        Repaint();
    return SkinOk;
}

int CSkinButton::SetFlatFrame(BOOL bFrame, BOOL bRepaint) {
    m_bFlatFrame = bFrame;
    if (bRepaint)
        Repaint();
    return SkinOk;
}

int CSkinButton::SetFlatFocusRect(BOOL bFocusRect, BOOL bRepaint) {
    m_bFlatFocusRect = bFocusRect;
    if (bRepaint)
        Repaint();
    return SkinOk;
}

int CSkinButton::SetTextForReadersOnly(BOOL bReadersOnly, BOOL bRepaint) {
    m_bTextForReadersOnly = bReadersOnly;
    if (bRepaint)
        Repaint();
    return SkinOk;
}

int CSkinButton::SetCopyParentBackground(BOOL bCopy, BOOL bRepaint) {
    m_bCopyParentBackground = bCopy;
    // Switching it on again must not show pixels captured long before.
    m_background.Release();
    if (bRepaint)
        Repaint();
    return SkinOk;
}

int CSkinButton::SetTrackInactive(BOOL bTrack) {
    m_bTrackInactive = bTrack;
    return SkinOk;
}

int CSkinButton::SetButtonCursor(HCURSOR hCursor) {
    // The cursor held, passed in again, stays.
    if (m_hCursor != hCursor)
        m_hCursor = CCursor(hCursor);
    return SkinOk;
}

int CSkinButton::SetMenu(HMENU hMenu, HWND hTarget, BOOL bRepaint) {
    if (m_hMenu != hMenu)
        m_hMenu = CMenu(hMenu);
    m_hMenuTarget = hTarget;
    if (bRepaint)
        Repaint();
    return SkinOk;
}

int CSkinButton::SetMenuNotify(HWND hWnd, UINT nMessage, LPARAM lParam) {
    m_menuNotify = {hWnd, nMessage, lParam};
    return SkinOk;
}

int CSkinButton::SetSound(LPCSTR pszSound, HMODULE hModule, BOOL bPlayOnClick, DWORD dwFlags) {
    SkinSound& sound = m_sounds[bPlayOnClick ? 1 : 0];
    sound = {};
    if (IS_INTRESOURCE(pszSound)) {
        sound.pszSound = pszSound;  // a resource number, or nullptr for none
    } else {
        CopyWholeChars(sound.szName, sizeof(sound.szName), pszSound);
        sound.pszSound = sound.szName;
    }
    sound.hModule = hModule;
    sound.dwFlags = dwFlags;
    return SkinOk;
}

int CSkinButton::SetToolTipStyle(DWORD dwStyle) {
    if (m_toolTip.m_hWnd)
        m_toolTip.ModifyStyle(m_dwToolTipStyle & ~static_cast<DWORD>(WS_POPUP), dwStyle);
    m_dwToolTipStyle = dwStyle;
    return SkinOk;
}

int CSkinButton::SetToolTipText(LPCSTR pszText, BOOL bActivate) {
    EnsureToolTip();
    if (!m_toolTip.m_hWnd)
        return SkinOk;
    if (m_toolTip.HasTool(this))
        m_toolTip.UpdateTipText(pszText, this);
    else
        m_toolTip.AddTool(this, pszText);
    m_toolTip.Activate(bActivate);
    return SkinOk;
}

int CSkinButton::ActivateToolTip(BOOL bActivate) {
    EnsureToolTip();
    if (m_toolTip.m_hWnd)
        m_toolTip.Activate(bActivate);
    return SkinOk;
}

int CSkinButton::SetEmbossDisabledBitmap(BOOL bEmboss, BOOL bRepaint) {
    m_bEmbossDisabledBitmap = bEmboss;
    if (bRepaint)
        Repaint();
    return SkinOk;
}
