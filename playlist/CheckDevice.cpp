// Check Device: the list's copies on the selected drive read back past the cache and compared
// with their files, on the bar, until Esc; one message says what was found. Nothing is written,
// but for copies that a stopped putting in order left aside, which go back into the root first.
#include "playlist/PlaylistDlg.h"

#include "copy/DeviceCheck.h"
#include "copy/RootInOrder.h"
#include "playlist/CopyInput.h"
#include "playlist/CopyProgress.h"

void CPlaylistDlg::OnCheckDevice() {
    const CString drive = m_driveCombo.GetWindowText();
    if (m_driveCombo.GetCurSel() < 0 || m_playlist.GetItemCount() == 0 || drive.IsEmpty())
        return;
    const std::vector<CopyRow> rows = ReadCopyRows();
    const BOOL bPrefix = m_addPrefixCheck.GetCheck() == BST_CHECKED;
    BringBackFromOrderFolder(drive);
    ::GetAsyncKeyState(VK_ESCAPE);  // an Esc pressed before the check began is not for it
    CCopyProgress progress(m_progress, 0, [this] { return EscapeWanted(); });
    const DeviceCheck check = CheckDevice(drive, rows, bPrefix, progress);
    progress.End(check.Summary());
    ForgetDrivesThatLeft();
    DiscardInput(m_hWnd);
    if (!check.bStopped)
        ShowMessage(DescribeDeviceCheck(drive, check),
                    MB_OK | (check.AllMatch() ? MB_ICONINFORMATION : MB_ICONWARNING));
}
