#include "playlist/PlaylistDlg.h"

#include "framework/FileDialog.h"
#include "framework/Shell.h"
#include "playlist/ListPaintPause.h"
#include "playlist/MediaFiles.h"

#include <shellapi.h>

namespace {
// Room for the names of a few thousand chosen files; the dialog grows it for longer choices.
const int kFileBufferLength = 100000;
}  // namespace

CString FileNameOfPath(const CString& path) {
    int nBackslash = path.ReverseFind('\\');
    int nSlash = path.ReverseFind('/');
    return path.Mid((nSlash > nBackslash ? nSlash : nBackslash) + 1);
}

void CPlaylistDlg::InsertEntry(LPCSTR lpszFileName, LPCSTR lpszPath, int nIndex) {
    // By attributes only: the icon follows from the extension and the file is never opened.
    // The index alone is asked for, so no icon handle is made for every row.
    SHFILEINFOA fileInfo = {};
    ::SHGetFileInfoA(lpszPath, FILE_ATTRIBUTE_NORMAL, &fileInfo, sizeof(fileInfo),
                     SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);

    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nIndex;
    item.pszText = const_cast<LPSTR>(lpszFileName);
    item.iImage = fileInfo.iIcon;
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

    std::vector<CString> paths;
    POSITION pos = dialog.GetStartPosition();
    while (pos)
        paths.push_back(dialog.GetNextPathName(pos));
    AppendEntries(paths);
}

void CPlaylistDlg::AppendEntries(const std::vector<CString>& paths) {
    CListPaintPause pause(m_playlist);
    for (const CString& path : paths)
        InsertEntry(FileNameOfPath(path), path, m_playlist.GetItemCount());
}

void CPlaylistDlg::OnMoveUp() {
    int nSelected = m_playlist.GetNextItem(-1, LVNI_SELECTED);
    if (nSelected < 0)
        return;
    m_playlist.SetFocus();
    CListPaintPause pause(m_playlist);
    // The focus ends on the last row moved. It is given once, after the loop: each change of
    // focus redraws the focus rectangle at once, which costs milliseconds a row.
    int nLastMoved = -1;
    while (nSelected != 0) {
        CString name = m_playlist.GetItemText(nSelected, 0);
        CString path = m_playlist.GetItemText(nSelected, 1);
        m_playlist.DeleteItem(nSelected);
        InsertEntry(name, path, nSelected - 1);
        m_playlist.SetItemState(nSelected - 1, LVIS_SELECTED, LVIS_SELECTED);
        nLastMoved = nSelected - 1;
        nSelected = m_playlist.GetNextItem(nSelected - 1, LVNI_SELECTED);
        if (nSelected < 0)
            break;
    }
    if (nLastMoved >= 0)
        m_playlist.SetItemState(nLastMoved, LVIS_FOCUSED, LVIS_FOCUSED);
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
    CString name = m_playlist.GetItemText(nLast + 1, 0);
    CString path = m_playlist.GetItemText(nLast + 1, 1);
    m_playlist.DeleteItem(nLast + 1);
    InsertEntry(name, path, nFirst);
}

void CPlaylistDlg::OnRemoveSelected() {
    int nSelected = m_playlist.GetNextItem(-1, LVNI_SELECTED);
    if (nSelected < 0)
        return;
    m_playlist.SetFocus();
    std::vector<int> selected;
    for (; nSelected >= 0; nSelected = m_playlist.GetNextItem(nSelected, LVNI_SELECTED))
        selected.push_back(nSelected);
    CListPaintPause pause(m_playlist);
    // From the bottom up, so the indices still to delete stay valid.
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        m_playlist.DeleteItem(*it);
}

void CPlaylistDlg::OnClearList() { m_playlist.DeleteAllItems(); }

void CPlaylistDlg::OnDblclkPlaylist(NMHDR*, LRESULT* pResult) {
    int nSelected = m_playlist.GetNextItem(-1, LVNI_SELECTED);
    if (nSelected >= 0) {
        CString path = m_playlist.GetItemText(nSelected, 1);
        AfxShellExecute(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
    }
    *pResult = 0;
}
