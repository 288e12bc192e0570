#include "playlist/PlaylistDlg.h"

#include "playlist/StagedCopy.h"

void CPlaylistDlg::OnCopyFiles() {
    if (m_driveCombo.GetCurSel() < 0)
        return;
    CopyFilesToDevice();
}

void CPlaylistDlg::CopyFilesToDevice() {
    const UINT nRows = static_cast<UINT>(m_playlist.GetItemCount());
    if (nRows == 0)
        return;
    // The 32-bit range: the 16-bit packing would wrap at 65,536 rows.
    m_progress.SendMessage(PBM_SETRANGE32, 0, static_cast<LPARAM>(nRows));
    m_progress.SendMessage(PBM_SETPOS, 0);
    m_progress.SendMessage(PBM_SETSTEP, 1);
    m_progress.SendMessage(PPM_SHOWPERCENT, FALSE);

    CStagedCopy copy;
    UINT nFailed = 0;
    UINT i = 0;
    for (; i < static_cast<UINT>(m_playlist.GetItemCount()); ++i) {
        CString sourcePath = m_playlist.GetItemText(static_cast<int>(i), 1);
        CString fileName = m_playlist.GetItemText(static_cast<int>(i), 0);
        CString drive = m_driveCombo.GetWindowText();

        CString targetName;
        if (m_addPrefixCheck.GetCheck() == BST_CHECKED)
            targetName.Format("%03u_%s", i + 1, static_cast<LPCSTR>(fileName));
        else
            targetName = fileName;

        CString status;
        status.Format("Copying %s(%u of %u)...", static_cast<LPCSTR>(fileName), i + 1, nRows);
        m_progress.SetWindowText(status);
        m_progress.SendMessage(PBM_STEPIT);

        if (!copy.Copy(sourcePath, drive, targetName))
            ++nFailed;
    }

    // A run with failures must not look like a complete copy.
    CString summary("Complete");
    if (nFailed > 0)
        summary.Format("Complete, %u of %u files failed", nFailed, i);
    m_progress.SetWindowText(summary);
    m_progress.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
