// Dragging the list's selected rows to another place with the mouse.
#pragma once

#include "framework/ListCtrl.h"

#include <commctrl.h>

// The list's own insertion mark is not drawn in report view, so the list's parent passes on
// the list's custom-draw notifications and the insertion point is painted after the rows.
class CRowDrag {
public:
    CRowDrag() = default;
    CRowDrag(const CRowDrag&) = delete;
    CRowDrag& operator=(const CRowDrag&) = delete;

    // Follows a drag that the list has just begun until the left button is released, showing
    // the insertion point. Returns the row the dragged rows are to be put before (0 to the row
    // count), or -1 when the drag is cancelled: released outside the rows, Esc, the right
    // button, or the mouse capture taken away.
    int Track(CListCtrl& list);
    // The answer to the list's NM_CUSTOMDRAW: while a drag runs, the insertion point is drawn
    // once the rows are painted.
    LRESULT OnCustomDraw(const NMLVCUSTOMDRAW* pDraw) const;

private:
    // The band the insertion point before nRow covers, in the list's client coordinates.
    CRect InsertionBand(int nRow) const;
    void ShowInsertionPoint(int nRow);

    CListCtrl* m_pList = nullptr;  // the list while a drag runs in it
    int m_nRow = -1;               // where the rows would go now, or -1 for nowhere
};
