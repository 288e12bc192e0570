// The playlist window with its members opened up for tests.
#pragma once

#include "playlist/PlaylistDlg.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace test {

class PlaylistDlgProbe : public CPlaylistDlg {
public:
    using CPlaylistDlg::AppendEntries;
    using CPlaylistDlg::InsertEntry;
    using CPlaylistDlg::m_addPrefixCheck;
    using CPlaylistDlg::m_bannerLabel;
    using CPlaylistDlg::m_bModalDone;
    using CPlaylistDlg::m_capacityText;
    using CPlaylistDlg::m_driveCombo;
    using CPlaylistDlg::m_hIcon;
    using CPlaylistDlg::m_playlist;
    using CPlaylistDlg::m_progress;
    using CPlaylistDlg::m_sysImageList;
    using CPlaylistDlg::m_toolBar;
    using CPlaylistDlg::MoveSelectionTo;
    using CPlaylistDlg::ReadCopyRows;

    // Sends a control's notification to the window, as the control itself would.
    LRESULT Notify(int nID, UINT nCode) {
        return SendMessage(WM_COMMAND, MAKEWPARAM(nID, nCode),
                           reinterpret_cast<LPARAM>(GetDlgItem(nID)));
    }
    // Appends rows named after the given file names, with made-up paths.
    void AddRows(std::initializer_list<const char*> names) {
        for (const char* name : names)
            InsertEntry(name, CString("C:\\media\\") + name, m_playlist.GetItemCount());
    }
    // The file names of all rows, in order.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int i = 0; i < m_playlist.GetItemCount(); ++i)
            names.push_back(static_cast<LPCSTR>(m_playlist.GetItemText(i, 0)));
        return names;
    }
    // The file names of the selected rows, in order.
    std::vector<std::string> Selected() const {
        std::vector<std::string> names;
        for (int i = -1; (i = m_playlist.GetNextItem(i, LVNI_SELECTED)) >= 0;)
            names.push_back(static_cast<LPCSTR>(m_playlist.GetItemText(i, 0)));
        return names;
    }
    void Select(std::initializer_list<int> rows) {
        m_playlist.SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : rows)
            m_playlist.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    // Sends a toolbar command.
    LRESULT Command(int nID) { return SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0); }
};

}  // namespace test
