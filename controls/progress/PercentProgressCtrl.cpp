#include "controls/progress/PercentProgressCtrl.h"

#include "framework/BufferedDC.h"
#include "framework/DC.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

const UINT_PTR kMarqueeTimer = 1;

// Truncates toward zero, held inside int: a position left outside a changed
// range can make the fraction large.
int TruncToInt(double value) {
    return static_cast<int>(
        std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

// CLR_DEFAULT reads as the system colour nSysColor.
COLORREF Resolve(COLORREF cr, int nSysColor) {
    return cr == CLR_DEFAULT ? ::GetSysColor(nSysColor) : cr;
}

// The leading rest, the bar and the trailing rest of the bar area rc. The ends
// stay inside rc even when the position lies outside the range.
struct BarLayout {
    CRect rcLead;
    CRect rcBar;
    CRect rcTrail;
};

BarLayout LayOut(const CRect& rc, double fraction, BOOL bVertical, BOOL bMarquee,
                 int nMarqueeSize) {
    // Distances along the bar from where it starts: the left, or the bottom. A
    // control too small for its edge has an empty bar area.
    const int nLength = std::max(0, bVertical ? rc.Height() : rc.Width());
    const long long nEndRaw = TruncToInt(nLength * fraction);
    const int nEnd = static_cast<int>(std::clamp<long long>(nEndRaw, 0, nLength));
    int nStart = 0;
    if (bMarquee) {
        const long long nBlock = (static_cast<long long>(nLength) * nMarqueeSize + 50) / 100;
        nStart = static_cast<int>(std::clamp<long long>(nEndRaw - nBlock, 0, nEnd));
    }
    auto span = [&](int nFrom, int nTo) {
        return bVertical ? CRect(rc.left, rc.bottom - nTo, rc.right, rc.bottom - nFrom)
                         : CRect(rc.left + nFrom, rc.top, rc.left + nTo, rc.bottom);
    };
    return {span(0, nStart), span(nStart, nEnd), span(nEnd, nLength)};
}

// The reference point of text of extent ext in rc; upright text starts at its top
// left, upward text at its bottom left.
CPoint TextOrigin(const CRect& rc, CSize ext, BOOL bVertical, int nAlign) {
    if (!bVertical) {
        int y = rc.top + (rc.bottom - ext.cy - rc.top) / 2;
        if (nAlign == 0)
            return CPoint(rc.left + 2, y);
        if (nAlign == 2)
            return CPoint(rc.right - ext.cx - 3, y);
        return CPoint(rc.left + (rc.right - ext.cx - rc.left) / 2, y);
    }
    int x = rc.left + (rc.right - ext.cy - rc.left) / 2;
    if (nAlign == 0)
        return CPoint(x, rc.bottom - 3);
    if (nAlign == 2)
        return CPoint(x, rc.top + ext.cx + 2);
    return CPoint(x, rc.top + ext.cx + (rc.bottom - ext.cx - rc.top) / 2);
}

// One colour of the text: only the part inside rcClip is drawn.
void DrawTextPart(CDC* pDC, const CRect& rcClip, COLORREF cr, CPoint pt, const CRect& rcBar,
                  const CString& text) {
    CRect rcPart;
    if (!::IntersectRect(&rcPart, &rcClip, &rcBar))
        return;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(cr);
    pDC->ExtTextOut(pt.x, pt.y, ETO_CLIPPED, rcPart, text, text.GetLength());
}

}  // namespace

BEGIN_MESSAGE_MAP(CPercentProgressCtrl, CProgressCtrl)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_TIMER()
ON_MESSAGE(PBM_SETRANGE, &CPercentProgressCtrl::OnSetRange)
ON_MESSAGE(PBM_SETPOS, &CPercentProgressCtrl::OnSetPos)
ON_MESSAGE(PBM_DELTAPOS, &CPercentProgressCtrl::OnDeltaPos)
ON_MESSAGE(PBM_SETSTEP, &CPercentProgressCtrl::OnSetStep)
ON_MESSAGE(PBM_STEPIT, &CPercentProgressCtrl::OnStepIt)
ON_MESSAGE(PBM_SETRANGE32, &CPercentProgressCtrl::OnSetRange32)
ON_MESSAGE(PBM_GETRANGE, &CPercentProgressCtrl::OnGetRange)
ON_MESSAGE(PBM_GETPOS, &CPercentProgressCtrl::OnGetPos)
ON_MESSAGE(PBM_SETBARCOLOR, &CPercentProgressCtrl::OnSetBarColor)
ON_MESSAGE(PBM_SETMARQUEE, &CPercentProgressCtrl::OnSetMarquee)
ON_MESSAGE(PBM_SETBKCOLOR, &CPercentProgressCtrl::OnSetBkColor)
// The platform's bar would answer from its own state, which these messages never reach.
ON_MESSAGE(PBM_GETSTEP, &CPercentProgressCtrl::OnGetStep)
ON_MESSAGE(PBM_GETBARCOLOR, &CPercentProgressCtrl::OnGetStoredBarColor)
ON_MESSAGE(PBM_GETBKCOLOR, &CPercentProgressCtrl::OnGetStoredBkColor)
ON_MESSAGE(PPM_GETBARCOLOR, &CPercentProgressCtrl::OnGetBarColor)
ON_MESSAGE(PPM_GETBKCOLOR, &CPercentProgressCtrl::OnGetBkColor)
ON_MESSAGE(PPM_SETTEXTCOLOR, &CPercentProgressCtrl::OnSetTextColor)
ON_MESSAGE(PPM_GETTEXTCOLOR, &CPercentProgressCtrl::OnGetTextColor)
ON_MESSAGE(PPM_SETBARTEXTCOLOR, &CPercentProgressCtrl::OnSetBarTextColor)
ON_MESSAGE(PPM_GETBARTEXTCOLOR, &CPercentProgressCtrl::OnGetBarTextColor)
ON_MESSAGE(PPM_SHOWPERCENT, &CPercentProgressCtrl::OnShowPercent)
ON_MESSAGE(PPM_SETTEXTALIGN, &CPercentProgressCtrl::OnSetTextAlign)
ON_MESSAGE(PPM_SETMARQUEESIZE, &CPercentProgressCtrl::OnSetMarqueeSize)
// Printing must show this bar, not the platform's.
ON_WM_PRINTCLIENT()
ON_WM_SIZE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

// The paint covers the whole client area, off screen: erasing first would only flicker.
BOOL CPercentProgressCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CPercentProgressCtrl::OnPaint() {
    CPaintDC dc(this);
    Paint(&dc, &m_paintBuffer);
}

void CPercentProgressCtrl::OnPrintClient(CDC* pDC, UINT) {
    // A surface of its own: the kept one is made for the screen, not for this DC.
    Paint(pDC, nullptr);
}

void CPercentProgressCtrl::OnSize(UINT, int, int) {
    m_paintBuffer.Release();
    Default();
}

void CPercentProgressCtrl::OnDestroy() {
    m_paintBuffer.Release();
    Default();
}

void CPercentProgressCtrl::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kMarqueeTimer)
        return;
    int nPos = static_cast<int>(SendMessage(PBM_GETPOS));
    if (m_nMarqueeDir == 1 && nPos >= MarqueeLimit())
        m_nMarqueeDir = -1;
    else if (m_nMarqueeDir == -1 && nPos <= m_nLower)
        m_nMarqueeDir = 1;
    SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos + m_nMarqueeDir));
}

LRESULT CPercentProgressCtrl::OnSetRange(WPARAM, LPARAM lParam) {
    return OnSetRange32(LOWORD(lParam), HIWORD(lParam));
}

LRESULT CPercentProgressCtrl::OnSetPos(WPARAM wParam, LPARAM) {
    return MovePos(static_cast<int>(wParam));
}

LRESULT CPercentProgressCtrl::OnDeltaPos(WPARAM wParam, LPARAM) {
    return MovePos(static_cast<long long>(m_nPos) + static_cast<int>(wParam));
}

LRESULT CPercentProgressCtrl::OnSetStep(WPARAM wParam, LPARAM) {
    int nOld = m_nStep;
    m_nStep = static_cast<int>(wParam);
    return nOld;
}

LRESULT CPercentProgressCtrl::OnStepIt(WPARAM, LPARAM) {
    // Past either end the position comes round from the other end.
    long long nPos = static_cast<long long>(m_nPos) + m_nStep;
    if (nPos < m_nLower)
        nPos = m_nUpper - (m_nLower - nPos);
    else if (nPos > m_nUpper)
        nPos = m_nLower + (nPos - m_nUpper);
    return MovePos(nPos);
}

LRESULT CPercentProgressCtrl::OnSetRange32(WPARAM wParam, LPARAM lParam) {
    LRESULT nOld = static_cast<DWORD>(MAKELONG(m_nLower, m_nUpper));
    m_nLower = static_cast<int>(wParam);
    m_nUpper = static_cast<int>(lParam);
    return nOld;
}

LRESULT CPercentProgressCtrl::OnGetRange(WPARAM wParam, LPARAM lParam) {
    if (auto* pRange = reinterpret_cast<PBRANGE*>(lParam)) {
        pRange->iLow = m_nLower;
        pRange->iHigh = m_nUpper;
    }
    return wParam ? m_nLower : m_nUpper;
}

LRESULT CPercentProgressCtrl::OnGetPos(WPARAM, LPARAM) { return m_nPos; }

LRESULT CPercentProgressCtrl::OnGetStep(WPARAM, LPARAM) { return m_nStep; }

LRESULT CPercentProgressCtrl::OnGetStoredBarColor(WPARAM, LPARAM) { return m_crBar; }

LRESULT CPercentProgressCtrl::OnGetStoredBkColor(WPARAM, LPARAM) { return m_crBk; }

LRESULT CPercentProgressCtrl::OnSetBarColor(WPARAM, LPARAM lParam) {
    return ReplaceColor(m_crBar, lParam);
}

LRESULT CPercentProgressCtrl::OnSetMarquee(WPARAM wParam, LPARAM lParam) {
    m_bShowPercent = FALSE;
    if (wParam) {
        ModifyStyle(0, PBS_MARQUEE);
        SetTimer(kMarqueeTimer, static_cast<UINT>(lParam));
    } else {
        KillTimer(kMarqueeTimer);
        ModifyStyle(PBS_MARQUEE, 0);
    }
    Repaint();
    return static_cast<LRESULT>(wParam);
}

LRESULT CPercentProgressCtrl::OnSetBkColor(WPARAM, LPARAM lParam) {
    return ReplaceColor(m_crBk, lParam);
}

LRESULT CPercentProgressCtrl::OnGetBarColor(WPARAM, LPARAM) {
    return Resolve(m_crBar, COLOR_HIGHLIGHT);
}

LRESULT CPercentProgressCtrl::OnGetBkColor(WPARAM, LPARAM) {
    return Resolve(m_crBk, COLOR_BTNFACE);
}

LRESULT CPercentProgressCtrl::OnSetTextColor(WPARAM, LPARAM lParam) {
    return ReplaceColor(m_crText, lParam);
}

LRESULT CPercentProgressCtrl::OnGetTextColor(WPARAM, LPARAM) {
    return Resolve(m_crText, COLOR_WINDOWTEXT);
}

LRESULT CPercentProgressCtrl::OnSetBarTextColor(WPARAM, LPARAM lParam) {
    return ReplaceColor(m_crBarText, lParam);
}

LRESULT CPercentProgressCtrl::OnGetBarTextColor(WPARAM, LPARAM) {
    return Resolve(m_crBarText, COLOR_WINDOW);
}

LRESULT CPercentProgressCtrl::OnShowPercent(WPARAM wParam, LPARAM) {
    BOOL bOld = m_bShowPercent;
    m_bShowPercent = static_cast<BOOL>(wParam);
    Repaint();
    return bOld;
}

LRESULT CPercentProgressCtrl::OnSetTextAlign(WPARAM wParam, LPARAM) {
    int nOld = m_nTextAlign;
    m_nTextAlign = static_cast<int>(wParam);
    Repaint();
    return nOld;
}

LRESULT CPercentProgressCtrl::OnSetMarqueeSize(WPARAM wParam, LPARAM) {
    m_nMarqueeSize = static_cast<int>(wParam);
    Repaint();
    return m_nMarqueeSize;
}

int CPercentProgressCtrl::MarqueeLimit() const {
    const double span = static_cast<double>(m_nUpper) - m_nLower;
    return TruncToInt(m_nLower + std::trunc(((m_nMarqueeSize + 100.0) * span + 0.5) * 0.01));
}

LRESULT CPercentProgressCtrl::MovePos(long long nPos) {
    int nOld = m_nPos;
    long long nMax = (GetStyle() & PBS_MARQUEE) ? MarqueeLimit() : m_nUpper;
    m_nPos = static_cast<int>(std::min(std::max(nPos, static_cast<long long>(m_nLower)), nMax));
    Repaint();
    return nOld;
}

LRESULT CPercentProgressCtrl::ReplaceColor(COLORREF& crMember, LPARAM crNew) {
    COLORREF crOld = crMember;
    crMember = static_cast<COLORREF>(crNew);
    Repaint();
    return crOld;
}

HFONT CPercentProgressCtrl::TextFont(HDC hDC) const {
    HFONT hFont = GetFont();
    if (!hFont)
        hFont = reinterpret_cast<HFONT>(::SendMessageA(GetParent(), WM_GETFONT, 0, 0));
    // With no font anywhere the DC's own one still gives a rotated copy.
    if (!hFont)
        hFont = static_cast<HFONT>(::GetCurrentObject(hDC, OBJ_FONT));
    return hFont;
}

void CPercentProgressCtrl::Paint(CDC* pDC, CPaintBuffer* pBuffer) {
    // An empty range leaves the old picture; a paint request is still completed.
    if (m_nLower >= m_nUpper)
        return;
    CRect rc;
    GetClientRect(rc);
    CBufferedDC dc(pDC, rc, pBuffer);
    Draw(&dc);
}

void CPercentProgressCtrl::Draw(CDC* pDC) {
    const COLORREF crBar = Resolve(m_crBar, COLOR_HIGHLIGHT);
    const COLORREF crBk = Resolve(m_crBk, COLOR_BTNFACE);
    const COLORREF crText = Resolve(m_crText, COLOR_WINDOWTEXT);
    const COLORREF crBarText = Resolve(m_crBarText, COLOR_WINDOW);
    const DWORD dwStyle = GetStyle();
    const BOOL bVertical = (dwStyle & PBS_VERTICAL) != 0;

    HFONT hFont = TextFont(*pDC);
    if (bVertical && !m_fontVertical.GetSafeHandle()) {
        LOGFONTA lf;
        if (::GetObjectA(hFont, sizeof(lf), &lf)) {
            lf.lfEscapement = 900;
            lf.lfOrientation = 900;
            m_fontVertical.CreateFontIndirect(&lf);
        }
    }
    if (bVertical && m_fontVertical.GetSafeHandle())
        hFont = m_fontVertical;
    CSelectGuard fontGuard(*pDC, hFont);

    CRect rc;
    GetClientRect(rc);
    pDC->DrawEdge(rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST | BF_FLAT);
    const double fraction =
        (static_cast<double>(m_nPos) - m_nLower) / (static_cast<double>(m_nUpper) - m_nLower);
    const BarLayout layout =
        LayOut(rc, fraction, bVertical, (dwStyle & PBS_MARQUEE) != 0, m_nMarqueeSize);
    pDC->FillSolidRect(layout.rcLead, crBk);
    pDC->FillSolidRect(layout.rcBar, crBar);
    pDC->FillSolidRect(layout.rcTrail, crBk);

    CString text;
    if (m_bShowPercent)
        text.Format("%d%%", TruncToInt(fraction * 100.0 + 0.5));
    else
        text = GetWindowText();
    if (text.IsEmpty())
        return;
    const CPoint pt =
        TextOrigin(rc, pDC->GetTextExtent(text, text.GetLength()), bVertical, m_nTextAlign);
    DrawTextPart(pDC, layout.rcLead, crText, pt, rc, text);
    DrawTextPart(pDC, layout.rcBar, crBarText, pt, rc, text);
    DrawTextPart(pDC, layout.rcTrail, crText, pt, rc, text);
}
