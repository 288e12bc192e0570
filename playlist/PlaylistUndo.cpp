// Undo and Redo of every change to the rows: the state before each change is kept, read from
// the list, and shown again by rewriting only the rows that differ.
#include "playlist/PlaylistDlg.h"

#include "playlist/ListPaintPause.h"

#include <algorithm>

namespace {
// Rows the history shares hold one string: most are told apart without reading them.
bool SameString(const CString& a, const CString& b) {
    return static_cast<LPCSTR>(a) == static_cast<LPCSTR>(b) || a == b;
}
}  // namespace

ListState CPlaylistDlg::ReadListState() const {
    ListState state;
    const int nCount = m_playlist.GetItemCount();
    state.paths.reserve(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i) {
        // A copy of its own length: the list's text comes in a buffer of hundreds of bytes,
        // and the first state to hold a path keeps its string.
        const CString path = m_playlist.GetItemText(i, 1);
        state.paths.emplace_back(path, path.GetLength());
    }
    state.selected.assign(static_cast<size_t>(nCount), false);
    for (int nRow : m_playlist.GetSelectedItems())
        state.selected[static_cast<size_t>(nRow)] = true;
    state.nFocused = m_playlist.GetNextItem(-1, LVNI_FOCUSED);
    m_history.ShareStrings(&state);
    return state;
}

void CPlaylistDlg::RememberForUndo() { m_history.Remember(ReadListState()); }

void CPlaylistDlg::ShowListState(const ListState& state, const ListState& shown) {
    const int nCount = static_cast<int>(state.paths.size());
    const int nShown = static_cast<int>(shown.paths.size());
    int nSame = 0;
    for (int i = 0; i < nCount && i < nShown; ++i)
        nSame +=
            SameString(state.paths[static_cast<size_t>(i)], shown.paths[static_cast<size_t>(i)]);
    const bool bAllSelected = nCount > 0 && std::find(state.selected.begin(), state.selected.end(),
                                                      false) == state.selected.end();
    {
        CListPaintPause pause(m_playlist);
        // A row rewritten costs the list two notifications to this window, a row inserted one:
        // where most rows change, as after a sort, the list is made anew.
        const bool bAnew = nSame * 2 <= nCount;
        if (bAnew)
            m_playlist.DeleteAllItems();
        else
            m_playlist.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int i = nShown - 1; !bAnew && i >= nCount; --i)
            m_playlist.DeleteItem(i);
        for (int i = 0; i < nCount; ++i) {
            const CString& path = state.paths[static_cast<size_t>(i)];
            if (bAnew || i >= nShown)
                InsertEntry(path, i);
            else if (!SameString(path, shown.paths[static_cast<size_t>(i)]))
                SetEntry(i, path);
        }
        if (bAllSelected)
            m_playlist.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
        for (int i = 0; i < nCount && !bAllSelected; ++i)
            if (state.selected[static_cast<size_t>(i)])
                m_playlist.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
        if (state.nFocused >= 0)
            m_playlist.SetItemState(state.nFocused, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    if (state.nFocused >= 0)
        m_playlist.EnsureVisible(state.nFocused, FALSE);
    m_history.Shown(state);
}

void CPlaylistDlg::OnEditUndo() {
    if (!m_history.CanUndo())
        return;
    const ListState shown = ReadListState();
    ShowListState(m_history.Undo(shown), shown);
}

void CPlaylistDlg::OnEditRedo() {
    if (!m_history.CanRedo())
        return;
    const ListState shown = ReadListState();
    ShowListState(m_history.Redo(shown), shown);
}
