// The list's keys, its context menu and dragging its rows to a new place.
#include "playlist/PlaylistDlg.h"

#include "playlist/ListPaintPause.h"
#include "res/resource.h"

namespace {
bool IsKeyDown(int nKey) { return ::GetKeyState(nKey) < 0; }
}  // namespace

BOOL CPlaylistDlg::PreTranslateMessage(MSG* pMsg) {
    struct Shortcut {
        UINT nKey;
        bool bCtrl;
        bool bAlt;
        bool bListOnly;  // only while the list has the focus
        void (*pfnRun)(CPlaylistDlg& dlg);
    };
    // Moving by key keeps the row with the focus in view, as the list's own arrow keys do.
    static const Shortcut kShortcuts[] = {
        {'O', true, false, false, [](CPlaylistDlg& dlg) { dlg.OnOpenPlaylist(); }},
        {'S', true, false, false, [](CPlaylistDlg& dlg) { dlg.OnSavePlaylist(); }},
        {'A', true, false, true,
         [](CPlaylistDlg& dlg) { dlg.m_playlist.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED); }},
        {VK_INSERT, false, false, false, [](CPlaylistDlg& dlg) { dlg.OnAddFiles(); }},
        {VK_F5, false, false, false, [](CPlaylistDlg& dlg) { dlg.OnCopyFiles(); }},
        {VK_DELETE, false, false, true, [](CPlaylistDlg& dlg) { dlg.OnRemoveSelected(); }},
        {VK_UP, false, true, true,
         [](CPlaylistDlg& dlg) {
             dlg.OnMoveUp();
             dlg.m_playlist.EnsureVisible(dlg.m_playlist.GetNextItem(-1, LVNI_FOCUSED), FALSE);
         }},
        {VK_DOWN, false, true, true,
         [](CPlaylistDlg& dlg) {
             dlg.OnMoveDown();
             dlg.m_playlist.EnsureVisible(dlg.m_playlist.GetNextItem(-1, LVNI_FOCUSED), FALSE);
         }},
    };
    if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) {
        const bool bCtrl = IsKeyDown(VK_CONTROL);
        const bool bAlt = IsKeyDown(VK_MENU);
        const bool bInList = pMsg->hwnd == m_playlist.m_hWnd;
        for (const Shortcut& shortcut : kShortcuts) {
            if (shortcut.nKey == pMsg->wParam && shortcut.bCtrl == bCtrl && shortcut.bAlt == bAlt &&
                !IsKeyDown(VK_SHIFT) && (bInList || !shortcut.bListOnly)) {
                shortcut.pfnRun(*this);
                // The default procedure must see the key, or releasing Alt afterwards would
                // count as Alt pressed alone and open the system menu.
                if (bAlt)
                    ::DefWindowProcA(pMsg->hwnd, pMsg->message, pMsg->wParam, pMsg->lParam);
                return TRUE;
            }
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

    const int nCount = m_playlist.GetItemCount();
    const int nFirst = m_playlist.GetNextItem(-1, LVNI_SELECTED);
    int nLast = nFirst;
    for (int nNext = nFirst; nNext >= 0; nNext = m_playlist.GetNextItem(nNext, LVNI_SELECTED))
        nLast = nNext;
    // What each command would do now decides whether it is offered.
    // The toolbar's commands too, so that the keyboard reaches every one of them.
    const bool bDrive = m_driveCombo.GetCurSel() >= 0;
    const struct {
        UINT nID;
        const char* text;
        bool bCanAct;
    } kItems[] = {
        {IDC_MOVE_UP, "Move &Up\tAlt+Up", nFirst > 0},
        {IDC_MOVE_DOWN, "Move &Down\tAlt+Down", nFirst >= 0 && nLast + 1 < nCount},
        {IDC_REMOVE, "&Remove\tDel", nFirst >= 0},
        {IDC_CLEAR, "&Clear", nCount > 0},
        {0, nullptr, false},
        {ID_OPEN_PLAYLIST, "&Open Playlist...\tCtrl+O", true},
        {ID_SAVE_PLAYLIST, "&Save Playlist As...\tCtrl+S", nCount > 0},
        {0, nullptr, false},
        {ID_ADD_FILES, "&Add Files...\tIns", true},
        {ID_COPY_FILES, "Co&py Files\tF5", bDrive && nCount > 0},
        {ID_OPEN_DEVICE, "Open De&vice", bDrive},
        {ID_FORMAT_DEVICE, "&Format Device...", bDrive},
    };
    CMenu menu;
    if (!menu.Attach(::CreatePopupMenu()))
        return;
    for (const auto& item : kItems) {
        if (!item.text)
            menu.AppendMenu(MF_SEPARATOR);
        else
            menu.AppendMenu(MF_STRING | (item.bCanAct ? MF_ENABLED : MF_GRAYED), item.nID,
                            item.text);
    }
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
