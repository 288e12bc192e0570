// Device contexts. CDC is what drawing code receives: the drawing operations on a DC, with
// no way to release it. Each kind of DC says in its own type how its DC ends: CMemoryDC
// deletes the memory DC it made, the paint and client DCs give theirs back to the window,
// and CDCHandle, a DC lent by a message, leaves it alone.
#pragma once

#include "framework/Gdi.h"
#include "framework/Types.h"

class CWnd;

class CDC {
public:
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    HDC m_hDC = nullptr;        // where drawing goes
    HDC m_hAttribDC = nullptr;  // where attributes are read; the same DC here

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL IsPrinting() const { return m_bPrinting; }

    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    int SelectClipRgn(HRGN hRgn) { return ::SelectClipRgn(m_hDC, hRgn); }
    int GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
    COLORREF SetTextColor(COLORREF cr) { return ::SetTextColor(m_hDC, cr); }
    COLORREF SetBkColor(COLORREF cr) { return ::SetBkColor(m_hDC, cr); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
    int SetBkMode(int nMode) { return ::SetBkMode(m_hDC, nMode); }
    void FillSolidRect(LPCRECT lpRect, COLORREF cr);
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) {
        return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags);
    }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCSTR lpszString, UINT nCount) {
        return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, nullptr);
    }
    CSize GetTextExtent(LPCSTR lpszString, int nCount) const;
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, HDC hSrcDC, int xSrc, int ySrc,
                DWORD dwRop) {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, hSrcDC, xSrc, ySrc, dwRop);
    }
    BOOL LPtoDP(LPPOINT lpPoints, int nCount = 1) const {
        return ::LPtoDP(m_hAttribDC, lpPoints, nCount);
    }
    BOOL DPtoLP(LPPOINT lpPoints, int nCount = 1) const {
        return ::DPtoLP(m_hAttribDC, lpPoints, nCount);
    }
    void LPtoDP(LPRECT lpRect) const { LPtoDP(reinterpret_cast<LPPOINT>(lpRect), 2); }
    void DPtoLP(LPRECT lpRect) const { DPtoLP(reinterpret_cast<LPPOINT>(lpRect), 2); }
    // Outlines, lines and text for controls that draw themselves.
    int FillRect(LPCRECT lpRect, HBRUSH hBrush) { return ::FillRect(m_hDC, lpRect, hBrush); }
    int FrameRect(LPCRECT lpRect, HBRUSH hBrush) { return ::FrameRect(m_hDC, lpRect, hBrush); }
    // Top and left edges in crTopLeft, right and bottom edges in crBottomRight, one pixel wide.
    void Draw3dRect(LPCRECT lpRect, COLORREF crTopLeft, COLORREF crBottomRight);
    BOOL DrawFocusRect(LPCRECT lpRect) { return ::DrawFocusRect(m_hDC, lpRect); }
    BOOL MoveTo(int x, int y) { return ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    int DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
        return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
    }
    // An icon, bitmap or text in the state flags give (DSS_DISABLED embosses it).
    BOOL DrawState(LPARAM lData, int x, int y, int cx, int cy, UINT nFlags) {
        return ::DrawStateA(m_hDC, nullptr, nullptr, lData, 0, x, y, cx, cy, nFlags);
    }

protected:
    CDC() = default;
    explicit CDC(HDC hDC) : m_hDC(hDC), m_hAttribDC(hDC) {}

    BOOL m_bPrinting = FALSE;  // the DC belongs to a printer
};

// A DC lent by a message (WM_DRAWITEM, WM_ERASEBKGND, WM_PRINTCLIENT...) for the call only.
class CDCHandle : public CDC {
public:
    explicit CDCHandle(HDC hDC) : CDC(hDC) {}
};

// A memory DC of its own, deleted with the object.
class CMemoryDC : public CDC {
public:
    CMemoryDC() = default;
    ~CMemoryDC() override { DeleteDC(); }
    // Makes a memory DC compatible with hDC, or with the screen for nullptr; refuses while
    // it holds one.
    BOOL CreateCompatibleDC(HDC hDC);
    BOOL DeleteDC();
};

// Puts back the object that was selected before, when it goes out of scope.
class CSelectGuard {
public:
    CSelectGuard(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hOld(::SelectObject(hDC, hObject)) {}
    CSelectGuard(const CSelectGuard&) = delete;
    CSelectGuard& operator=(const CSelectGuard&) = delete;
    ~CSelectGuard() { ::SelectObject(m_hDC, m_hOld); }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};

// GetDC in the constructor, ReleaseDC in the destructor.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    // The client area of a window that need not have an object, such as a control's parent.
    explicit CClientDC(HWND hWnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};
