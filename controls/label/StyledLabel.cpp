#include "controls/label/StyledLabel.h"

#include "framework/BufferedDC.h"
#include "framework/CodePage.h"
#include "framework/Shell.h"

#include <algorithm>

namespace {

const UINT_PTR kBlinkTimer = 1;
const UINT kBlinkMs = 500;

enum LinkKind { kNoLink = 0, kOpenLink = 1, kMailLink = 2 };
enum BlinkMode { kNoBlink = 0, kBlinkText = 1, kBlinkBackground = 2 };

// More bands than this would not look smoother, only cost brushes.
const int kMaxGradientBands = 100;

// A left-to-right fade in at most kMaxGradientBands bands of equal width; the last band
// takes what the division leaves over. Colours step in fixed point, 8 bits of fraction.
void FillGradient(HDC hDC, const RECT& rc, COLORREF crFrom, COLORREF crTo) {
    const int cx = rc.right - rc.left;
    if (cx <= 0)
        return;
    const int nBands = std::min(kMaxGradientBands, cx);
    const int nBandWidth = cx / nBands;
    int value[3] = {GetRValue(crFrom) * 256, GetGValue(crFrom) * 256, GetBValue(crFrom) * 256};
    const int step[3] = {(GetRValue(crTo) - GetRValue(crFrom)) * 256 / nBands,
                         (GetGValue(crTo) - GetGValue(crFrom)) * 256 / nBands,
                         (GetBValue(crTo) - GetBValue(crFrom)) * 256 / nBands};
    CSelectGuard penGuard(hDC, ::GetStockObject(NULL_PEN));
    int left = rc.left;
    for (int i = 0; i < nBands; ++i) {
        const int right = i == nBands - 1 ? rc.right : left + nBandWidth;
        CBrush brush;
        brush.CreateSolidBrush(RGB(value[0] / 256, value[1] / 256, value[2] / 256));
        CSelectGuard brushGuard(hDC, brush);
        // Without a pen a rectangle leaves out its last column and row: one more of each.
        ::Rectangle(hDC, left, rc.top, right + 1, rc.bottom + 1);
        left = right;
        for (int c = 0; c < 3; ++c)
            value[c] += step[c];
    }
}

// DrawText flags for the static style and the text.
UINT TextFormat(DWORD dwStyle, const CString& text) {
    UINT nFormat;
    switch (dwStyle & SS_TYPEMASK) {
    case SS_CENTER:
        nFormat = DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        nFormat = DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
        nFormat = DT_LEFT;
        break;
    default:
        nFormat = DT_WORDBREAK;
        break;
    }
    if (text.Find('\t') >= 0)
        nFormat |= DT_EXPANDTABS;
    // Centred both ways on one line; a text of several lines can only be centred across.
    if (dwStyle & SS_CENTERIMAGE)
        nFormat = text.Find("\r\n") >= 0 ? DT_CENTER : DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    return nFormat;
}

}  // namespace

BEGIN_MESSAGE_MAP(CStyledLabel, CStatic)
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
ON_WM_SETCURSOR()
ON_WM_SYSCOLORCHANGE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
// Printing shows the label as it paints itself, not as a plain static.
ON_WM_PRINTCLIENT()
ON_WM_SETTEXT()
ON_WM_SETFONT()
END_MESSAGE_MAP()

CStyledLabel::CStyledLabel() : m_crText(::GetSysColor(COLOR_WINDOWTEXT)) {
    m_hSysBkBrush.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
}

CStyledLabel& CStyledLabel::SetBackground(COLORREF crBk, COLORREF crGradientEnd, BOOL bGradient) {
    m_crBk = crBk;
    m_crGradientEnd = crGradientEnd;
    m_bGradient = bGradient;
    m_hBkBrush.DeleteObject();
    if (!bGradient)
        m_hBkBrush.CreateSolidBrush(crBk);
    RedrawLabel();
    return *this;
}

CStyledLabel& CStyledLabel::SetTextColor(COLORREF cr) {
    m_crText = cr;
    RedrawLabel();
    return *this;
}

CStyledLabel& CStyledLabel::SetLabelText(const CString& text) {
    // The new text repaints the label (OnSetText).
    if (IsWindow())
        SetWindowText(text);
    return *this;
}

CStyledLabel& CStyledLabel::SetBold(BOOL bBold) {
    m_logFont.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
    RebuildFont();
    RedrawLabel();
    return *this;
}

CStyledLabel& CStyledLabel::SetFaceName(const CString& face, BYTE charSet) {
    m_logFont.lfCharSet = charSet;
    CopyWholeChars(m_logFont.lfFaceName, LF_FACESIZE, face);
    RebuildFont();
    RedrawLabel();
    return *this;
}

CStyledLabel& CStyledLabel::SetUnderline(BOOL bUnderline) {
    m_logFont.lfUnderline = LOBYTE(bUnderline);
    RebuildFont();
    RedrawLabel();
    return *this;
}

CStyledLabel& CStyledLabel::SetItalic(BOOL bItalic) {
    m_logFont.lfItalic = LOBYTE(bItalic);
    RebuildFont();
    RedrawLabel();
    return *this;
}

CStyledLabel& CStyledLabel::SetPointSize(int points) {
    // The platform converts points to pixels for the screen; the label keeps only the size.
    CFont pointFont;
    LOGFONT lf;
    if (pointFont.CreatePointFont(points * 10, m_logFont.lfFaceName) &&
        pointFont.GetObject(sizeof(lf), &lf)) {
        m_logFont.lfHeight = lf.lfHeight;
        m_logFont.lfWidth = lf.lfWidth;
    }
    RebuildFont();
    RedrawLabel();
    return *this;
}

CStyledLabel& CStyledLabel::SetSunkenEdge(BOOL bSunken) {
    ModifyStyleEx(bSunken ? 0 : WS_EX_STATICEDGE, bSunken ? WS_EX_STATICEDGE : 0, SWP_DRAWFRAME);
    return *this;
}

CStyledLabel& CStyledLabel::ShowBorder(BOOL bBorder) {
    ModifyStyle(bBorder ? 0 : WS_BORDER, bBorder ? WS_BORDER : 0, SWP_DRAWFRAME);
    return *this;
}

CStyledLabel& CStyledLabel::SetTransparentMode(BOOL bTransparent) {
    m_bTransparent = bTransparent;
    // Siblings below then paint first; an opaque label simply covers them.
    ModifyStyleEx(0, WS_EX_TRANSPARENT);
    RedrawLabel();
    return *this;
}

CStyledLabel& CStyledLabel::BlinkText(BOOL bBlink) {
    SetBlink(bBlink ? kBlinkText : kNoBlink);
    return *this;
}

CStyledLabel& CStyledLabel::BlinkBackground(BOOL bBlink) {
    SetBlink(bBlink ? kBlinkBackground : kNoBlink);
    return *this;
}

CStyledLabel& CStyledLabel::SetOpenLink(BOOL bLink, BOOL bNotifyParent) {
    return SetLink(bLink ? kOpenLink : kNoLink, bNotifyParent);
}

CStyledLabel& CStyledLabel::SetHoverCursor(HCURSOR hCursor) {
    m_hHoverCursor.Attach(hCursor);
    return *this;
}

CStyledLabel& CStyledLabel::SetEmboss(BOOL bEmboss, BOOL bDownRight) {
    m_bEmboss = bEmboss;
    m_bEmbossDownRight = bDownRight;
    RedrawLabel();
    return *this;
}

CStyledLabel& CStyledLabel::SetAngle(int degrees, BOOL bRotated) {
    m_logFont.lfEscapement = degrees * 10;
    m_logFont.lfOrientation = degrees * 10;
    m_bRotated = bRotated;
    RebuildFont();
    RedrawLabel();
    return *this;
}

CStyledLabel& CStyledLabel::SetEmbossColor(COLORREF cr) {
    m_crEmboss = cr;
    RedrawLabel();
    return *this;
}

CStyledLabel& CStyledLabel::SetLogFont(LOGFONT lf) {
    m_logFont = lf;
    RebuildFont();
    RedrawLabel();
    return *this;
}

CStyledLabel& CStyledLabel::SetMailToLink(BOOL bLink, BOOL bNotifyParent) {
    return SetLink(bLink ? kMailLink : kNoLink, bNotifyParent);
}

CStyledLabel& CStyledLabel::SetLinkTarget(const CString& target) {
    m_strLinkTarget = target;
    return *this;
}

BOOL CStyledLabel::PreCreateWindow(CREATESTRUCTA& cs) { return CStatic::PreCreateWindow(cs); }

void CStyledLabel::PreSubclassWindow() {
    CStatic::PreSubclassWindow();
    TakeFont(GetFont());
    // Settings made before the window existed had nothing to apply them to.
    if (m_nLinkKind != kNoLink)
        ModifyStyle(0, SS_NOTIFY);
    if (m_nBlinkMode != kNoBlink)
        SetTimer(kBlinkTimer, kBlinkMs);
}

void CStyledLabel::TakeFont(HFONT hFont) {
    const CFontHandle font(hFont ? hFont : static_cast<HFONT>(::GetStockObject(SYSTEM_FONT)));
    font.GetObject(sizeof(m_logFont), &m_logFont);
    RebuildFont();
}

void CStyledLabel::RebuildFont() {
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
}

void CStyledLabel::RedrawLabel() {
    // Before the window exists there is nothing to repaint; a null window here would
    // stand for the whole screen.
    if (!IsWindow())
        return;
    CRect rc;
    GetWindowRect(rc);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // What shows through a transparent label, or what it no longer covers, is the parent's.
    HWND hParent = GetParent();
    if (!hParent)
        return;
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&rc), 2);
    ::InvalidateRect(hParent, rc, TRUE);
    ::UpdateWindow(hParent);
}

void CStyledLabel::OnTimer(UINT_PTR) {
    m_bBlinkOn = !m_bBlinkOn;
    RedrawLabel();
    Default();
}

void CStyledLabel::OnLButtonDown(UINT, CPoint) {
    if (m_bNotifyParent) {
        NMHDR nmhdr = {m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), NM_LABELCLICK};
        ::SendMessageA(GetParent(), WM_NOTIFY, nmhdr.idFrom, reinterpret_cast<LPARAM>(&nmhdr));
    } else if (m_nLinkKind == kOpenLink) {
        const CString file = m_strLinkTarget.IsEmpty() ? GetWindowText() : m_strLinkTarget;
        AfxShellExecute(nullptr, "open", file, nullptr, nullptr, SW_SHOWNORMAL);
    } else if (m_nLinkKind == kMailLink) {
        const CString address = CString("mailto:") + GetWindowText();
        AfxShellExecute(nullptr, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
    }
    Default();
}

BOOL CStyledLabel::OnSetCursor(CWnd*, UINT, UINT) {
    if (m_hHoverCursor.IsNull())
        return static_cast<BOOL>(Default());
    ::SetCursor(m_hHoverCursor);
    return TRUE;
}

void CStyledLabel::OnSysColorChange() {
    m_hSysBkBrush.DeleteObject();
    m_hSysBkBrush.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    RedrawLabel();
}

void CStyledLabel::OnPaint() {
    CPaintDC dc(this);
    Paint(&dc);
}

// The paint covers the whole client area, or leaves the parent's picture showing.
BOOL CStyledLabel::OnEraseBkgnd(CDC*) { return TRUE; }

void CStyledLabel::OnPrintClient(CDC* pDC, UINT) { Paint(pDC); }

BOOL CStyledLabel::OnSetText(LPCSTR) {
    // Some statics paint a new text at once in their own look, and a transparent label
    // must not leave its old text behind: the label and its parent repaint either way.
    const BOOL bSet = static_cast<BOOL>(Default());
    RedrawLabel();
    return bSet;
}

void CStyledLabel::OnSetFont(HFONT hFont, BOOL bRedraw) {
    // The control keeps the font for WM_GETFONT and may repaint at once: the label's own
    // copy must be ready by then.
    TakeFont(hFont);
    Default();
    if (bRedraw)
        RedrawLabel();
}

CStyledLabel& CStyledLabel::SetLink(int nKind, BOOL bNotifyParent) {
    m_nLinkKind = nKind;
    m_bNotifyParent = bNotifyParent;
    // A static gets mouse messages only with SS_NOTIFY; without, clicks go to the parent.
    ModifyStyle(nKind != kNoLink ? 0 : SS_NOTIFY, nKind != kNoLink ? SS_NOTIFY : 0);
    return *this;
}

void CStyledLabel::SetBlink(int nMode) {
    if (m_bTimerSet && IsWindow())
        KillTimer(kBlinkTimer);
    // Stopping either blink shows the label as it is at the next paint, whatever the phase.
    m_nBlinkMode = nMode;
    if (nMode == kNoBlink)
        return;
    m_bBlinkOn = FALSE;
    m_bTimerSet = TRUE;
    // Without a window the timer would belong to the thread and never be stopped; it
    // starts when the label is attached.
    if (IsWindow())
        SetTimer(kBlinkTimer, kBlinkMs);
}

COLORREF CStyledLabel::HiddenTextColor() const {
    LOGBRUSH lb;
    if (!m_hBkBrush.IsNull() && m_hBkBrush.GetObject(sizeof(lb), &lb))
        return lb.lbColor;
    return RGB(0, 0, 0);
}

void CStyledLabel::Paint(CDC* pTarget) {
    CRect rc;
    GetClientRect(rc);
    if (m_bTransparent) {
        Draw(pTarget, rc);
        return;
    }
    // Opaque: drawn off screen and copied in one step, so no half-drawn label shows.
    CBufferedDC dc(pTarget, rc);
    Draw(&dc, rc);
}

void CStyledLabel::Draw(CDC* pDC, const CRect& rc) {
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOldText = pDC->SetTextColor(m_crText);
    const HGDIOBJ hOldFont = m_font.IsNull() ? nullptr : pDC->SelectObject(m_font);

    if (m_nBlinkMode == kBlinkBackground && !m_bBlinkOn) {
        // The background blinks as a selection would: highlight colours in the off phase.
        pDC->FillRect(rc, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        pDC->SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else if (!m_bTransparent) {
        if (m_bGradient)
            FillGradient(*pDC, rc, m_crBk, m_crGradientEnd);
        else
            pDC->FillRect(rc, m_hBkBrush.IsNull() ? m_hSysBkBrush : m_hBkBrush);
    }
    if (m_nBlinkMode == kBlinkText && !m_bBlinkOn)
        pDC->SetTextColor(HiddenTextColor());
    DrawLabelText(pDC, rc, GetWindowText());

    pDC->SetBkMode(nOldMode);
    if (hOldFont)
        pDC->SelectObject(hOldFont);
    pDC->SetTextColor(crOldText);
}

void CStyledLabel::DrawLabelText(CDC* pDC, const CRect& rc, const CString& text) {
    if (m_bRotated) {
        // One line from the centre along the font's angle; the DC is left as it was found.
        const UINT nOldAlign = ::SetTextAlign(*pDC, TA_BASELINE | TA_LEFT);
        POINT ptOldOrg;
        ::OffsetViewportOrgEx(*pDC, rc.Width() / 2, rc.Height() / 2, &ptOldOrg);
        ::TextOutA(*pDC, 0, 0, text, text.GetLength());
        ::SetViewportOrgEx(*pDC, ptOldOrg.x, ptOldOrg.y, nullptr);
        ::SetTextAlign(*pDC, nOldAlign);
        return;
    }
    const UINT nFormat = TextFormat(GetStyle(), text);
    CRect rcText = rc;
    ::DrawTextA(*pDC, text, text.GetLength(), rcText, nFormat);
    if (m_bEmboss) {
        pDC->SetTextColor(m_crEmboss);
        const int nOffset = m_bEmbossDownRight ? 1 : -1;
        rcText.OffsetRect(nOffset, nOffset);
        ::DrawTextA(*pDC, text, text.GetLength(), rcText, nFormat);
    }
}
