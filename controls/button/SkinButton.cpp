// Construction and attaching: the button's life outside its messages. Its images, cursor,
// menu and background cache go with their owners.
#include "controls/button/SkinButton.h"

BEGIN_MESSAGE_MAP(CSkinButton, CButton)
ON_WM_SETCURSOR()
ON_WM_KILLFOCUS()
ON_WM_MOUSEMOVE()
ON_WM_SYSCOLORCHANGE()
ON_CONTROL_REFLECT_EX(BN_CLICKED, &CSkinButton::OnReflectedClick)
ON_WM_ACTIVATE()
ON_WM_ENABLE()
ON_WM_CANCELMODE()
ON_WM_GETDLGCODE()
ON_WM_CTLCOLOR_REFLECT()
ON_BM_SETSTYLE()
ON_WM_MOUSELEAVE()
ON_BM_SETCHECK()
ON_BM_GETCHECK()
ON_WM_UPDATEUISTATE()
END_MESSAGE_MAP()

CSkinButton::CSkinButton() {
    FreeImages(FALSE);
    ResetColors(FALSE);
    SetPressedStyle(PressedShiftDiagonal, FALSE);
    SetUrl(nullptr);
}

void CSkinButton::PreSubclassWindow() {
    const DWORD dwType = GetStyle() & 0x1F;
    // Only check boxes, two- and three-state, toggle: an owner-drawn button, a group box or
    // a push box stays a push button.
    if (dwType == BS_CHECKBOX || dwType == BS_AUTOCHECKBOX || dwType == BS_3STATE ||
        dwType == BS_AUTO3STATE)
        m_bCheckMode = TRUE;
    if (dwType == BS_DEFPUSHBUTTON)
        m_bDefault = TRUE;
    ModifyStyle(0x1F, BS_OWNERDRAW, SWP_FRAMECHANGED);
    m_bFocusCuesHidden = (SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS) != 0;
    CButton::PreSubclassWindow();
}
