// Copy Files: every row, in order, into the root of the selected drive, inside the command
// handler; or, where the drive holds an earlier copy of the list, an update that renames and
// removes instead of copying again. The rows and the prefix box are read once, before the
// questions. Whatever the drive's file system cannot take is asked about before anything is
// written, and only the volume that was asked about is written to. The run itself is
// copy/CopyRunner's, watched on the bar; Esc stops it, and what was typed or clicked meanwhile
// is dropped when it ends. Copies that are not what was written are named afterwards, and
// where the copies do not stand on the disk in list order, putting them in order is offered.
#include "playlist/PlaylistDlg.h"

#include "copy/CopyRecord.h"
#include "copy/RootInOrder.h"
#include "playlist/CopyInput.h"
#include "playlist/CopyProgress.h"

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

bool CPlaylistDlg::EscapeWanted() { return EscapePressed(m_hWnd) != FALSE; }

void CPlaylistDlg::CopyFilesToDevice() {
    const CString drive = m_driveCombo.GetWindowText();
    if (m_playlist.GetItemCount() == 0 || drive.IsEmpty())
        return;
    const std::vector<CopyRow> rows = ReadCopyRows();
    const BOOL bPrefix = m_addPrefixCheck.GetCheck() == BST_CHECKED;
    // What a stopped putting in order left aside belongs in the root before it is looked at.
    BringBackFromOrderFolder(drive);
    const VolumeFacts facts = ReadVolumeFacts(drive);
    bool bOrderKnown = false;
    std::vector<RootEntry> root = ListRootInOrder(drive, facts, &bOrderKnown);
    MarkOwnCopies(drive, &root);
    const UpdatePlan update = PlanUpdate(rows, bPrefix, root, bOrderKnown);
    bool bUpdate = false;
    // Each question runs a modal loop, in which the drive may leave, another be chosen, or
    // another volume take its letter: the files go only to the volume that the questions named.
    auto isStillPlanned = [&] { return IsDriveSelected(drive) && IsSameVolume(drive, facts); };
    if (update.nHeld > 0) {
        const int nAnswer =
            ShowMessage(DescribeUpdate(drive, update, static_cast<UINT>(rows.size())),
                        MB_YESNOCANCEL | MB_ICONQUESTION);
        if (nAnswer == IDCANCEL || !isStillPlanned())
            return;
        bUpdate = nAnswer == IDYES;
    }
    const UpdatePlan plan = bUpdate ? update : PlanCopy(rows, bPrefix, update.own);
    const std::vector<CString> limits = LimitsMet(drive, facts, root, LoadOfPlan(plan, rows, root));
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
    CCopyProgress progress(m_progress, static_cast<UINT>(plan.steps.size()),
                           [this] { return EscapeWanted(); });
    const RunOutcome outcome = RunPlan(drive, facts, plan, rows, root, progress);
    // A run with failures must not look like a complete copy.
    progress.End(outcome.Summary());
    ForgetDrivesThatLeft();
    OnSelchangeDrive();  // the copies took space
    DiscardInput(m_hWnd);
    if (!outcome.differed.empty())
        ShowMessage(DescribeDiffering(drive, outcome.differed), MB_OK | MB_ICONWARNING);
    if (!outcome.bStopped && outcome.bOrderKnown &&
        !StandsInListOrder(outcome.root, outcome.names) && isStillPlanned())
        OfferToPutInOrder(drive, facts, outcome.root, outcome.names);
}

void CPlaylistDlg::OfferToPutInOrder(const CString& drive, const VolumeFacts& facts,
                                     const std::vector<RootEntry>& root,
                                     const std::vector<CString>& names) {
    const std::vector<CString> copies = CopiesToPutInOrder(root, names);
    if (ShowMessage(AskToPutInOrder(drive, copies.size()), MB_YESNO | MB_ICONQUESTION) != IDYES ||
        !IsDriveSelected(drive) || !IsSameVolume(drive, facts))
        return;
    const CString summary = m_progress.GetWindowText();
    ::GetAsyncKeyState(VK_ESCAPE);
    auto putInOrder = [&](bool bFillGaps) {
        CCopyProgress progress(m_progress, static_cast<UINT>(2 * copies.size()),
                               [this] { return EscapeWanted(); });
        const OrderOutcome order =
            PutInOrder(drive, copies, bFillGaps, [&](const CString& copy, UINT nMove, UINT nMoves) {
                return progress.Moved(copy, nMove, nMoves);
            });
        // How the copy went is what the bar goes on saying.
        progress.End(summary);
        return order;
    };
    bool bOrderKnown = false;
    auto inOrder = [&] {
        return StandsInListOrder(ListRootInOrder(drive, facts, &bOrderKnown), names);
    };
    OrderOutcome order = putInOrder(false);
    // Where gaps took copies out of order again, once more with the gaps taken.
    if (order.result == OrderResult::kDone && order.left.empty() && !inOrder())
        order = putInOrder(true);
    ForgetDrivesThatLeft();
    DiscardInput(m_hWnd);
    if (!order.left.empty()) {
        ShowMessage(DescribeLeftInOrderFolder(drive, order.left), MB_OK | MB_ICONWARNING);
        return;
    }
    if (order.result != OrderResult::kStopped && !inOrder())
        ShowMessage(SayStillOutOfOrder(drive), MB_OK | MB_ICONINFORMATION);
}
