// Holds a list's painting while many rows change.
#pragma once

#include "framework/ListCtrl.h"

// A visible list otherwise repaints itself and its scroll bars for every row, and thousands
// of rows take minutes.
class CListPaintPause {
public:
    explicit CListPaintPause(CListCtrl& list) : m_list(list) { m_list.SetRedraw(FALSE); }
    ~CListPaintPause() {
        m_list.SetRedraw(TRUE);
        m_list.RedrawWindow(nullptr, nullptr,
                            RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    CListPaintPause(const CListPaintPause&) = delete;
    CListPaintPause& operator=(const CListPaintPause&) = delete;

private:
    CListCtrl& m_list;
};
