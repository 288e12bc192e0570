// Copy Files: every row, in order, into the root of the selected drive, inside the command
// handler. Esc stops the run between two files, and what was typed or clicked meanwhile is
// dropped when it ends.
#include "playlist/PlaylistDlg.h"

#include "copy/CopyNames.h"
#include "copy/StagedCopy.h"

namespace {

// Esc, from the key's state rather than from the queue: reading the queue would also run the
// handlers of messages that other programs send, such as a drive's removal, in the middle of
// the copy. Pressed in another program's window it does not count, and is forgotten.
BOOL EscapePressed(HWND hWnd) {
    return ::GetAsyncKeyState(VK_ESCAPE) != 0 && ::GetForegroundWindow() == hWnd;
}

// Keys and clicks given to the window while it copied are dropped: acted on afterwards, an Esc
// or a click on the close box would close it, and a click on Copy Files would copy the list
// again. Moves of the pointer stay, so that what lies under it lights up. Under Wine the
// display's input becomes messages only while the queue is read: so it is read until nothing
// is left.
void DiscardInput(HWND hWnd) {
    const UINT ranges[][2] = {{WM_KEYFIRST, WM_KEYLAST},
                              {WM_LBUTTONDOWN, WM_MOUSELAST},
                              {WM_NCLBUTTONDOWN, WM_NCXBUTTONDBLCLK}};
    MSG msg;
    for (BOOL bFound = TRUE; bFound;) {
        bFound = FALSE;
        for (const auto& range : ranges)
            while (::PeekMessageA(&msg, hWnd, range[0], range[1], PM_REMOVE | PM_QS_INPUT))
                bFound = TRUE;
    }
}

ULONGLONG FileBytes(LPCSTR lpszPath) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(lpszPath, GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

void CPlaylistDlg::OnCopyFiles() {
    if (m_driveCombo.GetCurSel() < 0)
        return;
    CopyFilesToDevice();
}

BOOL CPlaylistDlg::ConfirmCopyBeyondFreeSpace() {
    const CString drive = m_driveCombo.GetWindowText();
    ULARGE_INTEGER total, totalFree;
    // A drive that cannot say is not asked about: each file fails as it comes, as on a drive
    // that leaves during the run.
    // A total of 0 bytes is how some drivers say that they cannot tell.
    if (!::GetDiskFreeSpaceExA(drive + "\\", nullptr, &total, &totalFree) || total.QuadPart == 0)
        return TRUE;
    ULONGLONG needed = 0;
    for (int i = 0; i < m_playlist.GetItemCount(); ++i)
        needed += FileBytes(m_playlist.GetItemText(i, 1));
    if (needed <= totalFree.QuadPart)
        return TRUE;
    CString question;
    question.Format("These files need %I64u MB, but %s has %I64u MB free. Copy the files that fit?",
                    needed >> 20, static_cast<LPCSTR>(drive), totalFree.QuadPart >> 20);
    return ShowMessage(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CPlaylistDlg::CopyFilesToDevice() {
    const UINT nRows = static_cast<UINT>(m_playlist.GetItemCount());
    if (nRows == 0 || !ConfirmCopyBeyondFreeSpace())
        return;
    // The 32-bit range: the 16-bit packing would wrap at 65,536 rows.
    m_progress.SendMessage(PBM_SETRANGE32, 0, static_cast<LPARAM>(nRows));
    m_progress.SendMessage(PBM_SETPOS, 0);
    m_progress.SendMessage(PBM_SETSTEP, 1);
    m_progress.SendMessage(PPM_SHOWPERCENT, FALSE);

    CStagedCopy copy;
    CCopyNames names(nRows);
    UINT nFailed = 0;
    UINT i = 0;
    BOOL bStopped = FALSE;
    ::GetAsyncKeyState(VK_ESCAPE);  // an Esc pressed before the run began is not for it
    for (; i < static_cast<UINT>(m_playlist.GetItemCount()); ++i) {
        if (i > 0 && EscapePressed(m_hWnd)) {
            bStopped = TRUE;
            break;
        }
        CString sourcePath = m_playlist.GetItemText(static_cast<int>(i), 1);
        CString fileName = m_playlist.GetItemText(static_cast<int>(i), 0);
        CString drive = m_driveCombo.GetWindowText();
        CString targetName = names.Name(i, fileName, m_addPrefixCheck.GetCheck() == BST_CHECKED);

        CString status;
        status.Format("Copying %s(%u of %u)...", static_cast<LPCSTR>(fileName), i + 1, nRows);
        m_progress.SetWindowText(status);
        m_progress.SendMessage(PBM_STEPIT);

        // Two rows of one name: the later one would replace what the earlier one brought.
        if (!names.Filled(targetName) && copy.Copy(sourcePath, drive, targetName))
            names.Fill(targetName);
        else
            ++nFailed;
    }

    // A run with failures must not look like a complete copy.
    CString summary("Complete");
    if (bStopped && nFailed > 0)
        summary.Format("Stopped, %u of %u files copied, %u failed", i - nFailed, nRows, nFailed);
    else if (bStopped)
        summary.Format("Stopped, %u of %u files copied", i - nFailed, nRows);
    else if (nFailed > 0)
        summary.Format("Complete, %u of %u files failed", nFailed, i);
    m_progress.SetWindowText(summary);
    m_progress.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    OnSelchangeDrive();  // the copies took space
    DiscardInput(m_hWnd);
}
