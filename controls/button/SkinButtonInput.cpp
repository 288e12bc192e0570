// Message handling: hover tracking, clicks (check mode, menu, address, sounds), the cursor,
// the tooltip and the default-button protocol.
#include "controls/button/SkinButton.h"

#include "framework/Shell.h"

#include <mmsystem.h>

void CSkinButton::Play(const SkinSound& sound) {
    if (sound.pszSound)
        ::PlaySoundA(sound.pszSound, sound.hModule, sound.dwFlags);
}

void CSkinButton::ClearHover() {
    if (m_bFlat && m_bHover) {
        m_bHover = FALSE;
        Repaint();
    }
}

void CSkinButton::EnsureToolTip() {
    if (m_toolTip.m_hWnd || !m_hWnd)
        return;
    m_toolTip.Create(this, m_dwToolTipStyle);
    m_toolTip.Activate(FALSE);
    m_toolTip.SetMaxTipWidth(400);
}

BOOL CSkinButton::PreTranslateMessage(MSG* pMsg) {
    EnsureToolTip();
    m_toolTip.RelayEvent(pMsg);
    // The owner-drawn class reports a quick second click as a double-click; make it a press.
    if (pMsg->message == WM_LBUTTONDBLCLK)
        pMsg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(pMsg);
}

BOOL CSkinButton::OnSetCursor(CWnd*, UINT, UINT) {
    if (!m_hCursor.IsNull()) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void CSkinButton::OnKillFocus(CWnd*) {
    Default();
    // Disabling takes the focus away before WM_ENABLE comes; OnEnable passes it on then.
    m_bDisabledWithFocus = !IsWindowEnabled();
    ClearHover();
}

void CSkinButton::OnMouseMove(UINT nFlags, CPoint point) {
    Default();
    ClientToScreen(&point);
    const HWND hUnder = ::WindowFromPoint(point);
    // Entering with the left button held (a drag from elsewhere) does not light the button.
    if ((nFlags & MK_LBUTTON) && !m_bHover)
        return;
    if (!m_bFlat)
        return;
    const BOOL bActive = m_bTrackInactive || ::GetActiveWindow() != nullptr;
    if (hUnder != m_hWnd || !bActive) {
        ClearHover();
        return;
    }
    if (m_bHover)
        return;
    m_bHover = TRUE;
    Repaint();
    Play(m_sounds[0]);
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
    ::_TrackMouseEvent(&tme);
}

void CSkinButton::OnSysColorChange() {
    Default();
    m_background.Release();  // captured anew at the next paint
    ResetColors(TRUE);
}

BOOL CSkinButton::OnReflectedClick() {
    SetFocus();
    Play(m_sounds[1]);
    if (m_bCheckMode) {
        m_bChecked = !m_bChecked;
        Repaint();
    } else if (!m_hMenu.IsNull()) {
        // A menu without a target of its own tells the button's parent, as a click does.
        const HWND hTarget = m_hMenuTarget ? m_hMenuTarget : GetParent();
        CRect rc;
        GetWindowRect(rc);
        m_bMenuOpen = TRUE;
        Repaint();
        const CMenuHandle subMenu = m_hMenu.GetSubMenu(0);
        // The receiver may still change the submenu: it has not shown yet.
        if (m_menuNotify.hWnd)
            ::SendMessageA(m_menuNotify.hWnd, m_menuNotify.nMessage,
                           reinterpret_cast<WPARAM>(subMenu.GetSafeHandle()), m_menuNotify.lParam);
        const UINT nCommand = static_cast<UINT>(subMenu.TrackPopupMenuEx(
            TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, rc.left, rc.bottom, hTarget));
        m_bMenuOpen = FALSE;
        Repaint();
        if (nCommand)
            ::PostMessageA(hTarget, WM_COMMAND, MAKEWPARAM(LOWORD(nCommand), 0), 0);
    } else if (m_szUrl[0]) {
        SHELLEXECUTEINFOA sei = {};
        sei.cbSize = sizeof(sei);
        sei.fMask = SEE_MASK_FLAG_NO_UI;
        sei.lpVerb = "open";
        sei.lpFile = m_szUrl;
        sei.nShow = SW_SHOWMAXIMIZED;
        AfxShellExecuteEx(&sei);
    }
    // Not handled: the parent gets BN_CLICKED too.
    return FALSE;
}

void CSkinButton::OnActivate(UINT nState, CWnd*, BOOL) {
    Default();
    if (nState == WA_INACTIVE)
        ClearHover();
}

void CSkinButton::OnEnable(BOOL bEnable) {
    Default();
    const BOOL bHadFocus = m_bDisabledWithFocus || ::GetFocus() == m_hWnd;
    m_bDisabledWithFocus = FALSE;
    if (!bEnable) {
        // A disabled button must not keep the focus, nor leave the keyboard stranded; a
        // control that holds the focus (an edit box being typed in) keeps it.
        if (bHadFocus) {
            const HWND hParent = GetParent();
            const HWND hNext = ::GetNextDlgTabItem(hParent, m_hWnd, FALSE);
            ::SetFocus(hNext && hNext != m_hWnd ? hNext : hParent);
        }
        ClearHover();
    }
}

void CSkinButton::OnCancelMode() {
    Default();
    ClearHover();
}

UINT CSkinButton::OnGetDlgCode() {
    const UINT nCode = static_cast<UINT>(Default());
    return nCode | (m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

HBRUSH CSkinButton::CtlColor(CDC*, UINT) {
    // DrawItem paints every pixel: nothing is erased beneath the face.
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CSkinButton::OnBmSetStyle(UINT nStyle, BOOL bRedraw) {
    // The dialog manager moves the default by style; the button must stay owner-drawn.
    const UINT nType = nStyle & 0x1F;
    if (nType == BS_DEFPUSHBUTTON)
        m_bDefault = TRUE;
    else if (nType == BS_PUSHBUTTON)
        m_bDefault = FALSE;
    DefWindowProc(BM_SETSTYLE, (nStyle & ~0x14u) | BS_OWNERDRAW, bRedraw);
}

void CSkinButton::OnMouseLeave() { ClearHover(); }

void CSkinButton::OnBmSetCheck(UINT nCheck) {
    SetChecked(nCheck == BST_CHECKED || nCheck == BST_INDETERMINATE ? 1 : 0, TRUE);
}

UINT CSkinButton::OnBmGetCheck() { return m_bChecked; }

void CSkinButton::OnUpdateUIState(UINT nAction, UINT nUIElement) {
    Default();
    // The focus rectangle comes and goes with the keyboard cues. The message itself says
    // which way they went: not every platform keeps the state for WM_QUERYUISTATE.
    if (!(nUIElement & UISF_HIDEFOCUS))
        return;
    if (nAction == UIS_SET || nAction == UIS_CLEAR)
        m_bFocusCuesHidden = nAction == UIS_SET;
    else
        m_bFocusCuesHidden = (SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS) != 0;
    Repaint();
}
