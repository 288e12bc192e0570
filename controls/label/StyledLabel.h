// A static text control that paints itself: its own text colour and font; a solid,
// gradient or transparent background; embossed, rotated or blinking text; a cursor of
// its own and click actions. Every configuration operation returns the label, so calls
// chain, and repaints it at once unless its comment says otherwise.
#pragma once

#include "framework/Gdi.h"
#include "framework/Icon.h"
#include "framework/Static.h"
#include "framework/String.h"

// The code of the WM_NOTIFY a label sends its parent when clicked (see SetOpenLink).
#define NM_LABELCLICK 0x8200

class CStyledLabel : public CStatic {
public:
    CStyledLabel();

    // Without bGradient a solid crBk; with it a left-to-right fade from crBk to crGradientEnd.
    virtual CStyledLabel& SetBackground(COLORREF crBk, COLORREF crGradientEnd, BOOL bGradient);
    virtual CStyledLabel& SetTextColor(COLORREF cr);
    // Sets the window text; does nothing before the window exists.
    virtual CStyledLabel& SetLabelText(const CString& text);
    virtual CStyledLabel& SetBold(BOOL bBold);
    // A face name longer than 31 characters is cut to its first 31.
    virtual CStyledLabel& SetFaceName(const CString& face, BYTE charSet);
    virtual CStyledLabel& SetUnderline(BOOL bUnderline);
    virtual CStyledLabel& SetItalic(BOOL bItalic);
    // The height of the current face at this many points on the screen.
    virtual CStyledLabel& SetPointSize(int points);
    // Redraws the frame only.
    virtual CStyledLabel& SetSunkenEdge(BOOL bSunken);
    // Redraws the frame only.
    virtual CStyledLabel& ShowBorder(BOOL bBorder);
    // No background: the text goes straight over what the parent painted.
    virtual CStyledLabel& SetTransparentMode(BOOL bTransparent);
    // Hides the text every other 500 ms (timer 1), from the second tick on; no repaint.
    virtual CStyledLabel& BlinkText(BOOL bBlink);
    // Highlights the whole label every other 500 ms (timer 1); no repaint. Stopping ends
    // a text blink as well: the two share the timer.
    virtual CStyledLabel& BlinkBackground(BOOL bBlink);
    // A click opens the link target, or the text, with the shell; with bNotifyParent it
    // only sends NM_LABELCLICK to the parent. Gives or takes SS_NOTIFY; no repaint.
    virtual CStyledLabel& SetOpenLink(BOOL bLink, BOOL bNotifyParent);
    // Shown over the label while it takes mouse messages; nullptr for the default. Not
    // owned; no repaint.
    virtual CStyledLabel& SetHoverCursor(HCURSOR hCursor);
    // A second copy of the text in the emboss colour, one pixel right and down
    // (bDownRight) or left and up.
    virtual CStyledLabel& SetEmboss(BOOL bEmboss, BOOL bDownRight);
    // The font's escapement; bRotated draws one line from the centre along it.
    virtual CStyledLabel& SetAngle(int degrees, BOOL bRotated);
    virtual CStyledLabel& SetEmbossColor(COLORREF cr);
    virtual CStyledLabel& SetLogFont(LOGFONT lf);
    // As SetOpenLink, opening "mailto:" followed by the text.
    virtual CStyledLabel& SetMailToLink(BOOL bLink, BOOL bNotifyParent);
    // What an open link launches instead of the text; empty for the text. No repaint.
    virtual CStyledLabel& SetLinkTarget(const CString& target);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // Takes over the control's font, or the system font when it has none, and applies a
    // link or a blink set before the window existed.
    void PreSubclassWindow() override;

protected:
    COLORREF m_crText;                         // text colour
    COLORREF m_crEmboss = RGB(255, 255, 255);  // colour of the embossed copy
    CBrush m_hSysBkBrush;                      // default background, COLOR_BTNFACE
    CBrush m_hBkBrush;                         // custom solid background, or none
    LOGFONT m_logFont = {};                    // what the font operations edit
    CFont m_font;                              // built from m_logFont
    BOOL m_bBlinkOn = FALSE;                   // blink phase; FALSE hides blinking text
    BOOL m_bTimerSet = FALSE;                  // the blink timer was started once
    int m_nLinkKind = 0;                       // click action: 0 none, 1 open, 2 mail
    BOOL m_bTransparent = FALSE;               // no background of its own
    BOOL m_bEmboss = FALSE;                    // draw the embossed copy
    BOOL m_bNotifyParent = FALSE;              // a click only tells the parent
    BOOL m_bRotated = FALSE;                   // one line from the centre, along the angle
    int m_nBlinkMode = 0;                      // 0 none, 1 text, 2 background
    CCursorHandle m_hHoverCursor;              // not owned
    BOOL m_bEmbossDownRight = FALSE;           // embossed copy at (+1, +1), else (-1, -1)
    BOOL m_bGradient = FALSE;                  // background fades from m_crBk
    COLORREF m_crGradientEnd = 0;              // colour at the right edge
    COLORREF m_crBk = 0;                       // custom brush colour, gradient start
    CString m_strLinkTarget;                   // launched instead of the text when set

    // Makes m_font anew from m_logFont.
    void RebuildFont();
    // Repaints the label at once, then the parent's area under it.
    void RedrawLabel();

    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonDown(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnSysColorChange();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPrintClient(CDC* pDC, UINT nFlags);
    BOOL OnSetText(LPCSTR lpszText);
    // A font given to the control is the new base of the font operations.
    void OnSetFont(HFONT hFont, BOOL bRedraw);
    DECLARE_MESSAGE_MAP()

private:
    CStyledLabel& SetLink(int nKind, BOOL bNotifyParent);
    // Stops the timer, then starts it for a blink mode; the phase starts hidden, so the
    // first tick shows the label as it is.
    void SetBlink(int nMode);
    // The LOGFONT of hFont, or of the system font for nullptr, and a font made from it.
    void TakeFont(HFONT hFont);
    // The colour hidden blinking text takes: that of the custom brush, else black.
    COLORREF HiddenTextColor() const;
    // Paints the client area into pTarget, for WM_PAINT and WM_PRINTCLIENT alike; off
    // screen unless transparent.
    void Paint(CDC* pTarget);
    // Draws the label into pDC over rc, putting back what it set in the DC.
    void Draw(CDC* pDC, const CRect& rc);
    void DrawLabelText(CDC* pDC, const CRect& rc, const CString& text);
};
