// Sort: by name, by tags, by folder, or reversed; the selected rows among their own places
// when two or more are selected, else the whole list. The selection goes with its rows.
#include "playlist/PlaylistDlg.h"

#include "playlist/CopyInput.h"
#include "playlist/RowOrder.h"
#include "playlist/TagReading.h"

#include <numeric>

namespace {

std::vector<std::wstring> NamesOf(const std::vector<CString>& paths) {
    std::vector<std::wstring> names;
    for (const CString& path : paths)
        names.push_back(AnsiToWide(FileNameOfPath(path)));
    return names;
}

}  // namespace

void CPlaylistDlg::OnSortByName() {
    SortRows([](const std::vector<CString>& paths, std::vector<int>* pSorted) {
        *pSorted = ByName(NamesOf(paths));
        return true;
    });
}

void CPlaylistDlg::OnSortByFolder() {
    SortRows([](const std::vector<CString>& paths, std::vector<int>* pSorted) {
        std::vector<std::wstring> widePaths;
        for (const CString& path : paths)
            widePaths.push_back(AnsiToWide(path));
        *pSorted = ByFolder(widePaths);
        return true;
    });
}

void CPlaylistDlg::OnSortByTags() {
    SortRows([this](const std::vector<CString>& paths, std::vector<int>* pSorted) {
        std::vector<TrackTags> tags;
        if (!ReadTags(paths, &tags))
            return false;
        *pSorted = ByTags(tags, NamesOf(paths));
        return true;
    });
}

void CPlaylistDlg::OnSortReverse() {
    SortRows([](const std::vector<CString>& paths, std::vector<int>* pSorted) {
        pSorted->resize(paths.size());
        std::iota(pSorted->rbegin(), pSorted->rend(), 0);
        return true;
    });
}

bool CPlaylistDlg::ReadTags(const std::vector<CString>& paths, std::vector<TrackTags>* pTags) {
    ::GetAsyncKeyState(VK_ESCAPE);  // an Esc pressed before the reading began is not for it
    bool bRead;
    {
        CTagReading reading(m_progress, [this] { return EscapePressed(m_hWnd) != FALSE; });
        bRead = reading.Read(paths, m_tagCache, pTags);
    }
    DiscardInput(m_hWnd);
    return bRead;
}

void CPlaylistDlg::SortRows(const RowSorter& sorter) {
    const int nCount = m_playlist.GetItemCount();
    const std::vector<int> places = RowsToSort(nCount, m_playlist.GetSelectedItems());
    if (places.empty())
        return;
    const ListState before = ReadListState();
    std::vector<CString> paths;
    for (int nRow : places)
        paths.push_back(before.paths[static_cast<size_t>(nRow)]);
    std::vector<int> sorted;
    if (!sorter(paths, &sorted))
        return;
    const std::vector<int> order = PlacedOrder(nCount, places, sorted);
    ListState after;
    after.selected.resize(before.selected.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const size_t nFrom = static_cast<size_t>(order[i]);
        after.paths.push_back(before.paths[nFrom]);
        after.selected[i] = before.selected[nFrom];
        if (order[i] == before.nFocused)
            after.nFocused = static_cast<int>(i);
    }
    if (after.paths == before.paths)
        return;
    m_history.Remember(before);
    ShowListState(after, before);
}
