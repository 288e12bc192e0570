#include "playlist/RowDrag.h"

#include <algorithm>

namespace {

// How often the list scrolls by a row while the pointer rests at its top or bottom edge.
const UINT kScrollIntervalMs = 80;
const int kLineThickness = 2;

// The rows' area of the list: its client area below the column headers.
CRect RowsArea(const CListCtrl& list) {
    CRect area;
    list.GetClientRect(&area);
    HWND hHeader = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
    CRect header;
    if (hHeader && ::IsWindowVisible(hHeader) && ::GetWindowRect(hHeader, &header)) {
        list.ScreenToClient(&header);
        area.top = header.bottom;
    }
    return area;
}

// The row a drop at pt (client coordinates) puts the rows before, or -1 outside the rows.
int InsertionRow(const CListCtrl& list, POINT pt) {
    CRect area = RowsArea(list);
    if (!area.PtInRect(pt))
        return -1;
    const int nCount = list.GetItemCount();
    for (int i = list.GetTopIndex(); i < nCount; ++i) {
        CRect row;
        list.GetItemRect(i, &row, LVIR_BOUNDS);
        if (pt.y < (row.top + row.bottom) / 2)
            return i;
        if (row.bottom >= area.bottom)
            return i + 1;
    }
    return nCount;
}

// Scrolls a row up or down while the pointer is in the top or bottom row's band.
void ScrollAtEdge(CListCtrl& list, POINT pt) {
    CRect area = RowsArea(list);
    CRect row;
    if (!list.GetItemRect(list.GetTopIndex(), &row, LVIR_BOUNDS) || pt.x < area.left ||
        pt.x >= area.right)
        return;
    if (pt.y >= area.top && pt.y < area.top + row.Height())
        list.SendMessage(LVM_SCROLL, 0, -row.Height());
    else if (pt.y < area.bottom && pt.y >= area.bottom - row.Height())
        list.SendMessage(LVM_SCROLL, 0, row.Height());
}

}  // namespace

CRect CRowDrag::InsertionBand(int nRow) const {
    const int nCount = m_pList->GetItemCount();
    CRect row, band;
    if (nRow < 0 || nCount == 0 ||
        !m_pList->GetItemRect(nRow < nCount ? nRow : nCount - 1, &row, LVIR_BOUNDS))
        return band;
    // Centred on the rows' boundary, but within the rows' area, so that a line at the very
    // top or bottom is not hidden under the headers or past the edge.
    band = RowsArea(*m_pList);
    const int y = nRow < nCount ? row.top : row.bottom;
    const int nTop = std::max<int>(
        band.top, std::min<int>(y - kLineThickness / 2, band.bottom - kLineThickness));
    band.top = nTop;
    band.bottom = nTop + kLineThickness;
    return band;
}

void CRowDrag::ShowInsertionPoint(int nRow) {
    if (nRow == m_nRow)
        return;
    // The rows repaint over the old line; the new one is drawn after them.
    CRect oldBand = InsertionBand(m_nRow);
    m_nRow = nRow;
    CRect newBand = InsertionBand(m_nRow);
    m_pList->InvalidateRect(oldBand, FALSE);
    m_pList->InvalidateRect(newBand, FALSE);
    m_pList->UpdateWindow();
}

LRESULT CRowDrag::OnCustomDraw(const NMLVCUSTOMDRAW* pDraw) const {
    if (!m_pList || pDraw->nmcd.hdr.hwndFrom != m_pList->m_hWnd)
        return CDRF_DODEFAULT;
    if (pDraw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYPOSTPAINT;
    if (pDraw->nmcd.dwDrawStage == CDDS_POSTPAINT) {
        CRect band = InsertionBand(m_nRow);
        if (!band.IsRectEmpty())
            ::FillRect(pDraw->nmcd.hdc, band, ::GetSysColorBrush(COLOR_WINDOWTEXT));
    }
    return CDRF_DODEFAULT;
}

int CRowDrag::Track(CListCtrl& list) {
    m_pList = &list;
    m_nRow = -1;
    ::SetCapture(list.m_hWnd);
    const UINT_PTR nTimer = ::SetTimer(nullptr, 0, kScrollIntervalMs, nullptr);
    // The system's shared cursors: never destroyed.
    const HCURSOR hArrow = ::LoadCursorA(nullptr, IDC_ARROW);
    const HCURSOR hNo = ::LoadCursorA(nullptr, IDC_NO);
    POINT pt = {};
    auto follow = [&] {
        ::GetCursorPos(&pt);
        list.ScreenToClient(&pt);
        int nRow = InsertionRow(list, pt);
        ShowInsertionPoint(nRow);
        ::SetCursor(nRow < 0 ? hNo : hArrow);
    };
    follow();

    bool bDropped = false;
    MSG msg;
    while (::GetCapture() == list.m_hWnd) {
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // leave WM_QUIT to the modal loop
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            follow();
        } else if (msg.message == WM_LBUTTONUP) {
            follow();
            bDropped = true;
            break;
        } else if (msg.message == WM_RBUTTONDOWN ||
                   (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) {
            break;
        } else if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == nTimer) {
            ScrollAtEdge(list, pt);
            follow();
        } else if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) {
            // Keys wait for the drop; everything else (painting, timers) goes on.
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    ::KillTimer(nullptr, nTimer);
    if (::GetCapture() == list.m_hWnd)
        ::ReleaseCapture();
    const int nDropRow = bDropped ? m_nRow : -1;
    ShowInsertionPoint(-1);
    m_pList = nullptr;
    return nDropRow;
}
