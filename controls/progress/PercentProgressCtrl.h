// A progress bar that keeps its own range, position and step and paints itself:
// a flat sunken edge, a solid bar and a line of text that changes colour where it
// crosses the bar's end. The text is the percentage or the window text.
#pragma once

#include "framework/Gdi.h"
#include "framework/PaintBuffer.h"
#include "framework/ProgressCtrl.h"

// Private messages. Colours default to CLR_DEFAULT, which reads as a system colour.
#define PPM_GETBARCOLOR (WM_USER + 100)
#define PPM_GETBKCOLOR (WM_USER + 101)
#define PPM_SETTEXTCOLOR (WM_USER + 102)  // lParam: colour; returns the previous one
#define PPM_GETTEXTCOLOR (WM_USER + 103)
#define PPM_SETBARTEXTCOLOR (WM_USER + 104)  // lParam: colour; returns the previous one
#define PPM_GETBARTEXTCOLOR (WM_USER + 105)
#define PPM_SHOWPERCENT (WM_USER + 106)     // wParam: TRUE percentage, FALSE window text
#define PPM_SETTEXTALIGN (WM_USER + 107)    // wParam: 0 start, 2 end, else centred
#define PPM_SETMARQUEESIZE (WM_USER + 108)  // wParam: block length in percent

class CPercentProgressCtrl : public CProgressCtrl {
protected:
    BOOL m_bShowPercent = TRUE;
    CFont m_fontVertical;  // the text font turned upward, made at the first vertical paint
    COLORREF m_crBar = CLR_DEFAULT;
    COLORREF m_crBk = CLR_DEFAULT;
    COLORREF m_crText = CLR_DEFAULT;     // text over the empty part
    COLORREF m_crBarText = CLR_DEFAULT;  // text over the bar
    int m_nTextAlign = 1;
    int m_nPos = 0;
    int m_nStep = 10;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nMarqueeSize = 20;
    int m_nMarqueeDir = 1;  // the way the marquee moves, +1 or -1: each bar its own
    // The off-screen surface of the on-screen paints, kept between them: a copy repaints the
    // bar at every file.
    CPaintBuffer m_paintBuffer;

    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    void OnPrintClient(CDC* pDC, UINT nFlags);
    // A new size, or no window: the kept surface no longer fits.
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    LRESULT OnSetRange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetPos(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeltaPos(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetStep(WPARAM wParam, LPARAM lParam);
    LRESULT OnStepIt(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetRange32(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetRange(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetPos(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetStep(WPARAM wParam, LPARAM lParam);
    // The stored colours, CLR_DEFAULT included, as the platform's bar answers them.
    LRESULT OnGetStoredBarColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetStoredBkColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetBarColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMarquee(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetBkColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetBarColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetBkColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetTextColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetTextColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetBarTextColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetBarTextColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowPercent(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetTextAlign(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMarqueeSize(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The furthest a marquee may run past the upper bound: its block's length, a share of
    // the range, so that the block is hidden there.
    int MarqueeLimit() const;
    // Clamps to the range (to the marquee limit in marquee mode), stores, repaints.
    LRESULT MovePos(long long nPos);
    // Stores a colour and repaints; returns the colour stored before.
    LRESULT ReplaceColor(COLORREF& crMember, LPARAM crNew);
    void Repaint() { RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }
    HFONT TextFont(HDC hDC) const;
    // Paints the client area into pDC off screen, on pBuffer's surface if given: the one paint
    // of WM_PAINT and WM_PRINTCLIENT.
    void Paint(CDC* pDC, CPaintBuffer* pBuffer);
    void Draw(CDC* pDC);
};
