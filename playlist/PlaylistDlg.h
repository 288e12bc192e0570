// The playlist window: drive choice, the ordered file list and the copy to the device.
#pragma once

#include "controls/button/SkinButton.h"
#include "controls/label/StyledLabel.h"
#include "controls/progress/PercentProgressCtrl.h"
#include "controls/toolbar/ImageToolBar.h"
#include "framework/Button.h"
#include "framework/ComboBox.h"
#include "framework/Dialog.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"
#include "framework/Menu.h"
#include "framework/Static.h"
#include "playlist/RowDrag.h"
#include "playlist/UndoHistory.h"
#include "tags/TagCache.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

struct CopyRow;
struct RootEntry;
struct VolumeFacts;
struct ImportResult;
enum class PathSource;

class CPlaylistDlg : public CDialog {
public:
    explicit CPlaylistDlg(CWnd* pParent = nullptr);
    ~CPlaylistDlg() override;

    // Lists the removable drives whose volume opens, C: to Z:; returns how many.
    int FillDriveList();
    // Shows the free and total space of the selected drive, if one is selected.
    void OnSelchangeDrive();
    void OnRefresh();

    void OnAddFiles();
    void OnMoveUp();
    void OnMoveDown();
    void OnRemoveSelected();
    void OnClearList();
    void OnSelectAll();
    // Bring back the state of the rows, with their selection, before the last change, and the
    // state that the last Undo left.
    void OnEditUndo();
    void OnEditRedo();
    void OnSortByName();
    // Reads the rows' tags first, on the progress bar; Esc leaves the list as it was.
    void OnSortByTags();
    void OnSortByFolder();
    void OnSortReverse();
    void OnDblclkPlaylist(NMHDR* pNMHDR, LRESULT* pResult);

    void OnCopyFiles();
    // Copies every row, in order, into the root of the selected drive, until Esc.
    void CopyFilesToDevice();
    // Reads the rows' copies on the selected drive back and says whether they match their
    // files; writes nothing, but for what a stopped putting in order left aside.
    void OnCheckDevice();

    // Opens the selected drive in the shell with its default verb.
    void OnOpenDevice();
    // Runs the shell's format dialog for the selected drive, then shows its capacity again.
    void OnFormatDevice();
    // Lists a volume that arrived and takes out one that left; always FALSE.
    BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
    // Takes out the drives that left while the window could not hear of it (a copy keeps it
    // from answering, and the system passes over a window that does not answer).
    void ForgetDrivesThatLeft();

    // Appends the entries of a chosen playlist file.
    void OnOpenPlaylist();
    // Saves the rows' paths in a chosen playlist file, each after the line that players show
    // for it where its tags are known.
    void OnSavePlaylist();
    // Appends dropped files, the media files of dropped folders and dropped playlists' entries.
    void OnDropFiles(HDROP hDropInfo);
    // The commands' keys (see Commands.h).
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    void OnBeginDragPlaylist(NMHDR* pNMHDR, LRESULT* pResult);
    void OnCustomDrawPlaylist(NMHDR* pNMHDR, LRESULT* pResult);
    // Spares the window a notification for each row when all of them go at once.
    void OnDeleteAllItemsPlaylist(NMHDR* pNMHDR, LRESULT* pResult);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    // Appends or inserts one playlist row: name, full path and the shell's icon for its type.
    void InsertEntry(LPCSTR lpszFileName, LPCSTR lpszPath, int nIndex);
    // The same with the icon's index already known.
    void InsertEntry(LPCSTR lpszFileName, LPCSTR lpszPath, int nIndex, int nIcon);
    // The index of the small icon of a path's type in the shell's list, which the first
    // question installs as the list's image list.
    int ShellIconOf(LPCSTR lpszPath);
    // The same for the file name of path, asked once per extension.
    int IconOfName(const CString& name, const CString& path);
    // Appends or inserts the row of path, named after its file.
    void InsertEntry(const CString& path, int nIndex);
    // Rewrites row nRow as the entry of path: name, path and icon; its state stays.
    void SetEntry(int nRow, const CString& path);
    // Trades the entries of rows nRow - 1 and nRow (name, path and icon); the rows keep
    // their states.
    void RaiseEntry(int nRow);
    // Appends one row for each path, in the given order.
    void AppendEntries(const std::vector<CString>& paths);
    // Appends the rows that paths bring, asking the user's leave to look on other computers.
    void Import(const std::vector<std::wstring>& paths, PathSource source);
    // Appends what an import brought, shows the new rows, and tells the user what it left out.
    void AppendImported(const ImportResult& result);
    // The rows and their selection as they are now.
    ListState ReadListState() const;
    // Keeps the rows as they are for Undo: called before every change to them.
    void RememberForUndo();
    // Shows state in the list, which shows shown now: only the rows that differ are rewritten.
    void ShowListState(const ListState& state, const ListState& shown);
    // Sets *pSorted to the order of the rows of paths (see RowOrder.h); false leaves the list
    // as it was.
    using RowSorter =
        std::function<bool(const std::vector<CString>& paths, std::vector<int>* pSorted)>;
    // Sorts the rows to sort (see RowsToSort) as sorter orders them, as one change.
    void SortRows(const RowSorter& sorter);
    // The tags of the files, on the progress bar; false when Esc stopped the reading.
    bool ReadTags(const std::vector<CString>& paths, std::vector<TrackTags>* pTags);
    // Moves the selected rows, in their order, to stand before row nBefore of the list as it
    // is now (the row count for the end); they stay selected.
    void MoveSelectionTo(int nBefore);
    // The rows as a copy takes them, with their sources' sizes and times.
    std::vector<CopyRow> ReadCopyRows();
    // Whether drive is still the selected one.
    BOOL IsDriveSelected(const CString& drive);
    // Whether Esc stops what the window does on the bar.
    bool EscapeWanted();
    // Asks whether to put the copies names (root lists them, not in list order) in list order
    // on drive, whose volume facts describe, and does it; says so when it still is not.
    void OfferToPutInOrder(const CString& drive, const VolumeFacts& facts,
                           const std::vector<RootEntry>& root, const std::vector<CString>& names);
    // Takes entry nIndex (-1: none) out of the drive list; with the chosen one gone, nothing is
    // chosen and no capacity shows.
    void ForgetDrive(int nIndex);
    // A message box over the window, under the window's title; returns the button pressed.
    int ShowMessage(const CString& text, UINT nType);

    CImageToolBar m_toolBar;
    ULARGE_INTEGER m_totalBytes;
    ULARGE_INTEGER m_totalFreeBytes;
    CImageListHandle m_sysImageList;  // the shell's list: lent, never destroyed
    CButton m_addPrefixCheck;
    CSkinButton m_removeButton;
    CSkinButton m_clearButton;
    CSkinButton m_downButton;
    CSkinButton m_upButton;
    CPercentProgressCtrl m_progress;
    CListCtrl m_playlist;
    CStyledLabel m_titleLabel;
    CStyledLabel m_infoLabel;
    CStyledLabel m_bannerLabel;
    CStatic m_capacityText;
    CComboBox m_driveCombo;
    HICON m_hIcon;
    CRowDrag m_rowDrag;  // a drag of rows within the list
    CUndoHistory m_history;
    CTagCache m_tagCache;                          // the tags of the rows last read
    std::map<std::string, int> m_iconOfExtension;  // the shell's icon of each extension asked

    DECLARE_MESSAGE_MAP()
};

// "Free: N MB, Total: N MB", with MB = 2^20 bytes, remainders dropped.
CString FormatCapacityText(ULONGLONG totalFreeBytes, ULONGLONG totalBytes);
// Sets drive to the drive text ("E:") of a unit mask that names exactly one drive, A to Z;
// FALSE, leaving drive alone, for any other mask.
BOOL DriveFromUnitMask(DWORD unitMask, CString& drive);
