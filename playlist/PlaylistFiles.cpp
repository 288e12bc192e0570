// Saved playlists and files dropped from the shell.
#include "playlist/PlaylistDlg.h"

#include "framework/FileDialog.h"
#include "import/Import.h"
#include "import/M3uWriter.h"
#include "import/MediaFiles.h"

#include <shellapi.h>

namespace {
const char kSaveFilter[] = "UTF-8 playlist (*.m3u8)|*.m3u8|Playlist (*.m3u)|*.m3u||";

// The full paths a drop holds, in the drop's order; wide, so that no name is mangled.
std::vector<std::wstring> DroppedPaths(HDROP hDrop) {
    std::vector<std::wstring> paths;
    UINT nCount = ::DragQueryFileW(hDrop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nCount; ++i) {
        UINT nLength = ::DragQueryFileW(hDrop, i, nullptr, 0);
        std::wstring path(nLength + 1, L'\0');
        path.resize(::DragQueryFileW(hDrop, i, &path[0], nLength + 1));
        paths.push_back(path);
    }
    return paths;
}

// "<artist> - <title>", as players show a file; only the one that is known where the other is
// not, nothing where neither is.
M3uInfo InfoOf(const TrackTags& tags) {
    M3uInfo info;
    info.nSeconds = tags.nSeconds;
    info.text = tags.artist.empty() || tags.title.empty() ? tags.artist + tags.title
                                                          : tags.artist + L" - " + tags.title;
    return info;
}

}  // namespace

void CPlaylistDlg::Import(const std::vector<std::wstring>& paths, PathSource source) {
    ImportContext context;
    context.ask = [this](const CString& question) {
        return ShowMessage(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
    };
    ImportResult result = ImportPaths(paths, source, context);
    // Files chosen in the dialog arrive as they were picked, with nothing to tell and the list
    // left where it was.
    if (source == PathSource::kChosen)
        AppendEntries(result.paths);
    else
        AppendImported(result);
}

void CPlaylistDlg::AppendImported(const ImportResult& result) {
    const int nFirst = m_playlist.GetItemCount();
    AppendEntries(result.paths);
    const int nCount = m_playlist.GetItemCount();
    if (nCount > nFirst) {
        // The end first, then the first new row: as many of the new rows show as fit.
        m_playlist.EnsureVisible(nCount - 1, FALSE);
        m_playlist.EnsureVisible(nFirst, FALSE);
    }
    CString message = DescribeImport(result);
    if (!message.IsEmpty()) {
        const bool bLeftOut = result.SkippedCount() > 0 || !result.unreadable.empty();
        ShowMessage(message, MB_OK | (bLeftOut ? MB_ICONWARNING : MB_ICONINFORMATION));
    }
}

void CPlaylistDlg::OnOpenPlaylist() {
    CFileDialog dialog(TRUE, "m3u8", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       PlaylistFilter(), this);
    if (dialog.DoModal() != IDOK)
        return;
    Import({AnsiToWide(dialog.m_ofn.lpstrFile)}, PathSource::kPlaylist);
}

void CPlaylistDlg::OnSavePlaylist() {
    const int nCount = m_playlist.GetItemCount();
    if (nCount == 0)
        return;
    CFileDialog dialog(FALSE, "m3u8", nullptr,
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, kSaveFilter,
                       this);
    if (dialog.DoModal() != IDOK)
        return;
    CString path = dialog.m_ofn.lpstrFile;
    std::vector<CString> paths;
    for (int i = 0; i < nCount; ++i)
        paths.push_back(m_playlist.GetItemText(i, 1));
    // Esc while the tags are read saves nothing.
    std::vector<size_t> taggedRows;
    std::vector<CString> tagged;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (HasReadableTags(AnsiToWide(paths[i]))) {
            taggedRows.push_back(i);
            tagged.push_back(paths[i]);
        }
    }
    std::vector<TrackTags> tags;
    if (!ReadTags(tagged, &tags))
        return;
    std::vector<M3uInfo> infos(paths.size());
    for (size_t i = 0; i < taggedRows.size(); ++i)
        infos[taggedRows[i]] = InfoOf(tags[i]);
    const bool bExisted = ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    DWORD dwError = WriteM3uPlaylist(path, paths, infos);
    if (dwError == 0)
        return;
    CString message = "The playlist could not be saved as " + path + ": " +
                      SystemErrorText(dwError) +
                      (bExisted ? "\nThe file that was there is unchanged." : "");
    ShowMessage(message, MB_OK | MB_ICONERROR);
}

void CPlaylistDlg::OnDropFiles(HDROP hDropInfo) {
    std::vector<std::wstring> dropped = DroppedPaths(hDropInfo);
    ::DragFinish(hDropInfo);
    Import(dropped, PathSource::kDropped);
}
