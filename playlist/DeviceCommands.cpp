// Open Device and Format Device act on the selected drive; volumes announced by the system
// keep the drive list current while the window is open.
#include "playlist/PlaylistDlg.h"

#include "framework/Shell.h"

#include <dbt.h>
#include <shlobj.h>

#include <cstddef>

BOOL DriveFromUnitMask(DWORD unitMask, CString& drive) {
    // Exactly one bit: an empty mask names no drive, and bits above Z name no letter.
    for (int i = 0; i < 26; ++i) {
        if (unitMask == 1UL << i) {
            drive.Format("%c:", 'A' + i);
            return TRUE;
        }
    }
    return FALSE;
}

void CPlaylistDlg::OnOpenDevice() {
    if (m_driveCombo.GetCurSel() < 0)
        return;
    AfxShellExecute(nullptr, nullptr, m_driveCombo.GetWindowText(), nullptr, nullptr, SW_SHOW);
}

void CPlaylistDlg::OnFormatDevice() {
    if (m_driveCombo.GetCurSel() < 0)
        return;
    CString drive = m_driveCombo.GetWindowText();
    AfxFormatDrive(m_hWnd, static_cast<UINT>(drive[0] - 'A'), SHFMT_ID_DEFAULT, 0);
    OnSelchangeDrive();
}

BOOL CPlaylistDlg::OnDeviceChange(UINT nEventType, DWORD_PTR dwData) {
    if (nEventType != DBT_DEVICEARRIVAL && nEventType != DBT_DEVICEREMOVECOMPLETE)
        return FALSE;
    const auto* pHeader = reinterpret_cast<const DEV_BROADCAST_HDR*>(dwData);
    // The record's own size says how much of it may be read.
    const DWORD nVolumeSize = offsetof(DEV_BROADCAST_VOLUME, dbcv_unitmask) + sizeof(DWORD);
    if (!pHeader || pHeader->dbch_devicetype != DBT_DEVTYP_VOLUME ||
        pHeader->dbch_size < nVolumeSize)
        return FALSE;
    CString drive;
    // Several drives, or none: no entry to add or take out.
    if (!DriveFromUnitMask(reinterpret_cast<const DEV_BROADCAST_VOLUME*>(pHeader)->dbcv_unitmask,
                           drive))
        return FALSE;

    if (nEventType == DBT_DEVICEARRIVAL) {
        m_driveCombo.AddString(drive);
        if (m_driveCombo.GetCurSel() < 0) {
            m_driveCombo.SetCurSel(0);
            OnSelchangeDrive();
        }
    } else {
        ForgetDrive(m_driveCombo.FindStringExact(-1, drive));
    }
    return FALSE;
}

void CPlaylistDlg::ForgetDrivesThatLeft() {
    const DWORD dwDrives = ::GetLogicalDrives();
    for (int i = m_driveCombo.GetCount() - 1; i >= 0; --i) {
        const CString drive = m_driveCombo.GetLBText(i);
        if (drive.GetLength() < 1 || !(dwDrives & (1u << (drive[0] - 'A'))))
            ForgetDrive(i);
    }
}

void CPlaylistDlg::ForgetDrive(int nIndex) {
    if (nIndex >= 0)
        m_driveCombo.DeleteString(static_cast<UINT>(nIndex));
    if (m_driveCombo.GetCurSel() < 0) {
        // Deleting the chosen entry leaves its text painted in the box; clearing the
        // selection repaints it, so a drive that left never shows as the target.
        m_driveCombo.SetCurSel(-1);
        m_capacityText.SetWindowText(" ");
    }
}
