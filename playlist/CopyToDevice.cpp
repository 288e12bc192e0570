// Copy Files: every row, in order, into the root of the selected drive, inside the command
// handler; or, where the drive holds an earlier copy of the list, an update that renames and
// removes instead of copying again. Whatever the drive's file system cannot take is asked
// about before anything is written, and only the volume that was asked about is written to.
// Esc stops the run, and what was typed or clicked meanwhile is dropped when it ends. The
// drive's record of the program's copies is written before the run and after it.
#include "playlist/PlaylistDlg.h"

#include "playlist/CopyInput.h"
#include "playlist/CopyRun.h"

namespace {

const char kOrderText[] =
    "The files on %s do not stand on the disk in the order of the list, and players that play "
    "files in the order they were written will play them in another order. To put them in "
    "order, use Format Device, then Copy Files: a freshly formatted drive has no gaps.";

}  // namespace

void CPlaylistDlg::OnCopyFiles() {
    if (m_driveCombo.GetCurSel() < 0)
        return;
    CopyFilesToDevice();
}

BOOL CPlaylistDlg::IsDriveSelected(const CString& drive) {
    return m_driveCombo.GetCurSel() >= 0 && m_driveCombo.GetWindowText() == drive;
}

std::vector<CopyRow> CPlaylistDlg::ReadCopyRows() {
    std::vector<CopyRow> rows(static_cast<size_t>(m_playlist.GetItemCount()));
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].fileName = m_playlist.GetItemText(static_cast<int>(i), 0);
        rows[i].path = m_playlist.GetItemText(static_cast<int>(i), 1);
        rows[i].source = ReadFileFacts(rows[i].path);
    }
    return rows;
}

void CPlaylistDlg::CopyFilesToDevice() {
    const CString drive = m_driveCombo.GetWindowText();
    if (m_playlist.GetItemCount() == 0 || drive.IsEmpty())
        return;
    const std::vector<CopyRow> rows = ReadCopyRows();
    const VolumeFacts facts = ReadVolumeFacts(drive);
    bool bOrderKnown = false;
    std::vector<RootEntry> root = ListRootInOrder(drive, facts, &bOrderKnown);
    MarkOwnCopies(drive, &root);
    const UpdatePlan plan =
        PlanUpdate(rows, m_addPrefixCheck.GetCheck() == BST_CHECKED, root, bOrderKnown);
    bool bUpdate = false;
    // Each question runs a modal loop, in which the drive may leave, another be chosen, or
    // another volume take its letter: the files go only to the volume that the questions named.
    auto isStillPlanned = [&] { return IsDriveSelected(drive) && IsSameVolume(drive, facts); };
    if (plan.nHeld > 0) {
        const int nAnswer = ShowMessage(DescribeUpdate(drive, plan, static_cast<UINT>(rows.size())),
                                        MB_YESNOCANCEL | MB_ICONQUESTION);
        if (nAnswer == IDCANCEL || !isStillPlanned())
            return;
        bUpdate = nAnswer == IDYES;
    }
    const std::vector<CString> limits =
        LimitsMet(drive, facts, root,
                  bUpdate ? LoadOfUpdate(plan, rows, root)
                          : LoadOfCopy(rows, m_addPrefixCheck.GetCheck() == BST_CHECKED));
    if (!limits.empty()) {
        CString question;
        for (const CString& line : limits)
            question += line + (limits.size() > 1 ? "\n" : " ");
        if (ShowMessage(question + "Copy the files that fit?", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    if (!isStillPlanned())
        return;

    ::GetAsyncKeyState(VK_ESCAPE);  // an Esc pressed before the run began is not for it
    COwnCopies own(plan.own);
    // Written first as well, so that its entries are taken before the copies fill a FAT root.
    own.Write(drive, root);
    CString summary;
    std::vector<CString> names;
    {
        // Ends with its staging folder gone, before the drive is looked at again.
        CCopyRun run(m_progress, drive, facts, own,
                     [this] { return EscapePressed(m_hWnd) != FALSE; });
        if (bUpdate)
            run.Update(plan, rows);
        else
            run.CopyRows(m_playlist, m_addPrefixCheck, rows);
        summary = run.Summary();
        names = run.Names();
        own = run.Own();
    }
    // A run with failures must not look like a complete copy.
    m_progress.SetWindowText(summary);
    m_progress.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ForgetDrivesThatLeft();
    OnSelchangeDrive();  // the copies took space
    DiscardInput(m_hWnd);
    const std::vector<RootEntry> after = ListRootInOrder(drive, facts, &bOrderKnown);
    // Written where the copies went, as the drive lists them now, and nowhere else.
    if (IsSameVolume(drive, facts))
        own.Write(drive, after);
    if (bOrderKnown && !StandsInListOrder(after, names)) {
        CString text;
        text.Format(kOrderText, static_cast<LPCSTR>(drive));
        ShowMessage(text, MB_OK | MB_ICONINFORMATION);
    }
}
