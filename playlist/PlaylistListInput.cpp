// The window's keys, the list's context menu and dragging its rows to a new place.
#include "playlist/PlaylistDlg.h"

#include "playlist/Commands.h"
#include "playlist/ListPaintPause.h"
#include "res/resource.h"

namespace {
bool IsKeyDown(int nKey) { return ::GetKeyState(nKey) < 0; }
}  // namespace

BOOL CPlaylistDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) {
        const UINT fModifiers = (IsKeyDown(VK_CONTROL) ? kCtrl : 0) |
                                (IsKeyDown(VK_MENU) ? kAlt : 0) |
                                (IsKeyDown(VK_SHIFT) ? kShift : 0);
        if (const Command* pCommand = CommandOfKey(static_cast<UINT>(pMsg->wParam), fModifiers,
                                                   pMsg->hwnd == m_playlist.m_hWnd)) {
            SendMessage(WM_COMMAND, MAKEWPARAM(pCommand->nID, 0));
            // The default procedure must see the key, or releasing Alt afterwards would count
            // as Alt pressed alone and open the system menu.
            if (fModifiers & kAlt)
                ::DefWindowProcA(pMsg->hwnd, pMsg->message, pMsg->wParam, pMsg->lParam);
            return TRUE;
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CPlaylistDlg::OnContextMenu(CWnd* pWnd, CPoint pos) {
    if (pWnd != &m_playlist) {
        SetMsgHandled(FALSE);
        return;
    }
    // From the keyboard: under the row with the focus while it shows, else the list's corner.
    if (pos.x == -1 && pos.y == -1) {
        CRect client, row;
        m_playlist.GetClientRect(&client);
        int nFocused = m_playlist.GetNextItem(-1, LVNI_FOCUSED);
        if (nFocused >= 0 && m_playlist.GetItemRect(nFocused, &row, LVIR_LABEL) &&
            row.bottom > client.top && row.bottom < client.bottom)
            pos = CPoint(row.left, row.bottom);
        else
            pos = client.TopLeft();
        m_playlist.ClientToScreen(&pos);
    }

    // What each command would do now decides whether it is offered.
    CommandState state;
    state.nCount = m_playlist.GetItemCount();
    state.nFirst = m_playlist.GetNextItem(-1, LVNI_SELECTED);
    state.nLast = state.nFirst;
    for (int nNext = state.nFirst; nNext >= 0; nNext = m_playlist.GetNextItem(nNext, LVNI_SELECTED))
        state.nLast = nNext;
    state.bDrive = m_driveCombo.GetCurSel() >= 0;
    state.bCanUndo = m_history.CanUndo();
    state.bCanRedo = m_history.CanRedo();
    CMenu menu;
    if (!menu.Attach(::CreatePopupMenu()))
        return;
    FillCommandMenu(menu, state);
    // The chosen command reaches this window as the button's or toolbar's would.
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pos.x, pos.y, m_hWnd);
}

void CPlaylistDlg::OnBeginDragPlaylist(NMHDR*, LRESULT*) {
    int nBefore = m_rowDrag.Track(m_playlist);
    if (nBefore >= 0)
        MoveSelectionTo(nBefore);
}

void CPlaylistDlg::OnCustomDrawPlaylist(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = m_rowDrag.OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR));
}

void CPlaylistDlg::OnDeleteAllItemsPlaylist(NMHDR*, LRESULT* pResult) { *pResult = TRUE; }

void CPlaylistDlg::MoveSelectionTo(int nBefore) {
    const std::vector<int> selected = m_playlist.GetSelectedItems();
    if (selected.empty())
        return;
    // Where the block starts once the selected rows are out of the list.
    int nTarget = nBefore;
    for (int nRow : selected)
        nTarget -= nRow < nBefore ? 1 : 0;
    const int nSelected = static_cast<int>(selected.size());
    if (selected.back() - selected.front() + 1 == nSelected && nTarget == selected.front())
        return;  // an unbroken block dropped onto itself
    RememberForUndo();

    struct Row {
        CString name;
        CString path;
        bool bFocused;
    };
    std::vector<Row> rows;
    for (int nRow : selected)
        rows.push_back({m_playlist.GetItemText(nRow, 0), m_playlist.GetItemText(nRow, 1),
                        m_playlist.GetItemState(nRow, LVIS_FOCUSED) != 0});
    CListPaintPause pause(m_playlist);
    // Cleared at once, as in OnRemoveSelected: deleting selected rows one by one makes the
    // list search its selection each time.
    m_playlist.SetItemState(-1, 0, LVIS_SELECTED);
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        m_playlist.DeleteItem(*it);
    for (int i = 0; i < nSelected; ++i) {
        InsertEntry(rows[i].name, rows[i].path, nTarget + i);
        UINT nState = LVIS_SELECTED | (rows[i].bFocused ? LVIS_FOCUSED : 0);
        m_playlist.SetItemState(nTarget + i, nState, nState);
    }
}
