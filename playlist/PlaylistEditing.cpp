#include "playlist/PlaylistDlg.h"

#include "framework/FileDialog.h"
#include "framework/Shell.h"
#include "playlist/ListPaintPause.h"
#include "import/Import.h"
#include "import/MediaFiles.h"

#include <shellapi.h>

#include <string>

namespace {
// Room for the names of a few thousand chosen files; the dialog grows it for longer choices.
const int kFileBufferLength = 100000;
}  // namespace

int CPlaylistDlg::ShellIconOf(LPCSTR lpszPath) {
    // By attributes only: the icon follows from the extension and the file is never opened.
    // The index alone is asked for, so no icon handle is made for every row.
    SHFILEINFOA fileInfo = {};
    auto hShellIcons = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA(lpszPath, FILE_ATTRIBUTE_NORMAL, &fileInfo, sizeof(fileInfo),
                         SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
    // The answer names the shell's small-icon list, which the first row installs.
    if (!m_sysImageList.GetSafeHandle() && hShellIcons) {
        m_sysImageList.Attach(hShellIcons);
        m_playlist.SetImageList(m_sysImageList, LVSIL_SMALL);
    }
    return fileInfo.iIcon;
}

void CPlaylistDlg::InsertEntry(LPCSTR lpszFileName, LPCSTR lpszPath, int nIndex) {
    InsertEntry(lpszFileName, lpszPath, nIndex, ShellIconOf(lpszPath));
}

void CPlaylistDlg::InsertEntry(LPCSTR lpszFileName, LPCSTR lpszPath, int nIndex, int nIcon) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nIndex;
    item.pszText = const_cast<LPSTR>(lpszFileName);
    item.iImage = nIcon;
    m_playlist.InsertItem(&item);
    m_playlist.SetItemText(nIndex, 1, lpszPath);
}

void CPlaylistDlg::OnAddFiles() {
    CFileDialog dialog(TRUE, "Media files", nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT,
                       kMediaFilter);
    dialog.m_ofn.lStructSize =
        ::GetVersion() < 0x80000000 ? sizeof(OPENFILENAMEA) : OPENFILENAME_SIZE_VERSION_400A;
    // The dialog is told the buffer's real size: a smaller figure makes it fail
    // as soon as a few hundred names are chosen.
    CString fileNames;
    dialog.m_ofn.lpstrFile = fileNames.GetBuffer(kFileBufferLength);
    dialog.m_ofn.nMaxFile = kFileBufferLength;
    if (dialog.DoModal() != IDOK)
        return;

    std::vector<std::wstring> paths;
    POSITION pos = dialog.GetStartPosition();
    while (pos)
        paths.push_back(AnsiToWide(dialog.GetNextPathName(pos)));
    Import(paths, PathSource::kChosen);
}

int CPlaylistDlg::IconOfName(const CString& name, const CString& path) {
    // The shell's answer follows from the extension alone, and each question costs it a
    // search of the registry: one question per extension does for the whole list.
    const int nDot = name.ReverseFind('.');
    std::string extension(nDot >= 0 ? static_cast<LPCSTR>(name) + nDot : "");
    ::CharLowerBuffA(&extension[0], static_cast<DWORD>(extension.size()));
    auto found = m_iconOfExtension.find(extension);
    if (found == m_iconOfExtension.end())
        found = m_iconOfExtension.emplace(extension, ShellIconOf(path)).first;
    return found->second;
}

void CPlaylistDlg::InsertEntry(const CString& path, int nIndex) {
    const CString name = FileNameOfPath(path);
    InsertEntry(name, path, nIndex, IconOfName(name, path));
}

void CPlaylistDlg::SetEntry(int nRow, const CString& path) {
    const CString name = FileNameOfPath(path);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nRow;
    item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(name));
    item.iImage = IconOfName(name, path);
    m_playlist.SetItem(&item);
    m_playlist.SetItemText(nRow, 1, path);
}

void CPlaylistDlg::AppendEntries(const std::vector<CString>& paths) {
    if (paths.empty())
        return;
    RememberForUndo();
    CListPaintPause pause(m_playlist);
    for (const CString& path : paths)
        InsertEntry(path, m_playlist.GetItemCount());
}

void CPlaylistDlg::OnMoveUp() {
    const std::vector<int> selected = m_playlist.GetSelectedItems();
    if (selected.empty())
        return;
    m_playlist.SetFocus();
    // With the top row selected nothing moves, not even the rows selected further down.
    if (selected.front() == 0)
        return;
    RememberForUndo();
    {
        CListPaintPause pause(m_playlist);
        // Each selected entry trades places with the one above it, from the top down, and the
        // selection moves up with them. It is cleared at once and set again row by row from
        // the top: the list finds a row in its selection by a search from the first selected
        // row, so changing rows one at a time down a long list takes time that grows with its
        // square.
        m_playlist.SetItemState(-1, 0, LVIS_SELECTED);
        for (int nRow : selected)
            RaiseEntry(nRow);
        for (int nRow : selected)
            m_playlist.SetItemState(nRow - 1, LVIS_SELECTED, LVIS_SELECTED);
        // The focus ends on the last row moved. It is given once: each change of focus redraws
        // the focus rectangle at once, which costs milliseconds a row.
        m_playlist.SetItemState(selected.back() - 1, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    // As the list's own arrow keys do.
    m_playlist.EnsureVisible(selected.back() - 1, FALSE);
}

void CPlaylistDlg::RaiseEntry(int nRow) {
    // Both rows are rewritten in place: deleting a row and inserting it again shifts every
    // row below, and costs the list a search through all of its rows.
    // The texts are read whole, however long: a name in UTF-8 or a double-byte code page
    // can take more than MAX_PATH bytes.
    LVITEMA items[2] = {};
    CString names[2];
    CString paths[2];
    for (int i = 0; i < 2; ++i) {
        items[i].mask = LVIF_IMAGE;
        items[i].iItem = nRow - i;
        m_playlist.GetItem(&items[i]);
        names[i] = m_playlist.GetItemText(nRow - i, 0);
        paths[i] = m_playlist.GetItemText(nRow - i, 1);
    }
    for (int i = 0; i < 2; ++i) {
        items[i].iItem = nRow - 1 + i;
        items[i].mask = LVIF_TEXT | LVIF_IMAGE;
        items[i].pszText = const_cast<LPSTR>(static_cast<LPCSTR>(names[i]));
        m_playlist.SetItem(&items[i]);
        m_playlist.SetItemText(items[i].iItem, 1, paths[i]);
    }
}

void CPlaylistDlg::OnMoveDown() {
    m_playlist.SetFocus();
    int nFirst = m_playlist.GetNextItem(-1, LVNI_SELECTED);
    if (nFirst < 0)
        return;
    int nLast = nFirst;
    for (int nNext = nFirst; (nNext = m_playlist.GetNextItem(nNext, LVNI_SELECTED)) >= 0;)
        nLast = nNext;
    if (nLast + 1 >= m_playlist.GetItemCount())
        return;
    RememberForUndo();
    CString name = m_playlist.GetItemText(nLast + 1, 0);
    CString path = m_playlist.GetItemText(nLast + 1, 1);
    m_playlist.DeleteItem(nLast + 1);
    InsertEntry(name, path, nFirst);
    m_playlist.EnsureVisible(m_playlist.GetNextItem(-1, LVNI_FOCUSED), FALSE);
}

void CPlaylistDlg::OnRemoveSelected() {
    const std::vector<int> selected = m_playlist.GetSelectedItems();
    if (selected.empty())
        return;
    m_playlist.SetFocus();
    RememberForUndo();
    CListPaintPause pause(m_playlist);
    // The selection is cleared at once first: deleting a selected row makes the list search
    // its selection from the first selected row, which from the bottom of a long list takes
    // time that grows with its square.
    m_playlist.SetItemState(-1, 0, LVIS_SELECTED);
    // From the bottom up, so the indices still to delete stay valid.
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        m_playlist.DeleteItem(*it);
}

void CPlaylistDlg::OnClearList() {
    if (m_playlist.GetItemCount() == 0)
        return;
    RememberForUndo();
    m_playlist.DeleteAllItems();
}

void CPlaylistDlg::OnSelectAll() { m_playlist.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED); }

void CPlaylistDlg::OnDblclkPlaylist(NMHDR*, LRESULT* pResult) {
    int nSelected = m_playlist.GetNextItem(-1, LVNI_SELECTED);
    if (nSelected >= 0) {
        CString path = m_playlist.GetItemText(nSelected, 1);
        AfxShellExecute(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
    }
    *pResult = 0;
}
