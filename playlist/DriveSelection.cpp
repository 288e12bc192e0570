#include "playlist/PlaylistDlg.h"

#include "framework/KernelHandle.h"

CString FormatCapacityText(ULONGLONG totalFreeBytes, ULONGLONG totalBytes) {
    CString text;
    text.Format("Free: %I64u MB, Total: %I64u MB", totalFreeBytes >> 20, totalBytes >> 20);
    return text;
}

int CPlaylistDlg::FillDriveList() {
    int nCount = 0;
    m_driveCombo.ResetContent();
    // Letters that name no drive at all are passed over: asking each for its type costs
    // half a millisecond, a good part of the time the window takes to open.
    const DWORD dwDrives = ::GetLogicalDrives();
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (!(dwDrives & (1u << (letter - 'A'))))
            continue;
        CString drive;
        drive.Format("%c:", letter);
        if (::GetDriveTypeA(DriveRoot(drive)) != DRIVE_REMOVABLE)
            continue;
        // Opening the volume tells a drive with a medium from an empty slot.
        CString volume;
        volume.Format("\\\\?\\%s", static_cast<LPCSTR>(drive));
        const CHandle hVolume(::CreateFileA(volume, GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        if (!hVolume.IsNull()) {
            ++nCount;
            m_driveCombo.AddString(drive);
        }
    }
    return nCount;
}

void CPlaylistDlg::OnSelchangeDrive() {
    if (m_driveCombo.GetCurSel() < 0)
        return;
    const CString root = DriveRoot(m_driveCombo.GetWindowText());
    ULARGE_INTEGER availableToCaller, totalBytes, totalFreeBytes;
    // A drive that has gone since it was listed has no figures: showing those of the drive
    // queried before would be untrue, so the text is blanked as for a removed drive.
    if (!::GetDiskFreeSpaceExA(root, &availableToCaller, &totalBytes, &totalFreeBytes)) {
        m_capacityText.SetWindowText(" ");
        return;
    }
    m_totalBytes = totalBytes;
    m_totalFreeBytes = totalFreeBytes;
    m_capacityText.SetWindowText(
        FormatCapacityText(m_totalFreeBytes.QuadPart, m_totalBytes.QuadPart));
}

void CPlaylistDlg::OnRefresh() { FillDriveList(); }
