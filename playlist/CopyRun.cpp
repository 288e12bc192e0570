#include "playlist/CopyRun.h"

namespace {
// A file of this size or more shows in the bar's text how far its copy has come.
const ULONGLONG kLongFileBytes = 32ULL << 20;
// Renames and removals take less than a repaint of the bar: they show this often at most.
const DWORD kQuickStepsShownMs = 50;
}  // namespace

CCopyRun::CCopyRun(CPercentProgressCtrl& progress, const CString& drive, const VolumeFacts& facts,
                   COwnCopies own, std::function<bool()> stopWanted)
    : m_progress(progress), m_drive(drive), m_facts(facts), m_stopWanted(std::move(stopWanted)),
      m_own(std::move(own)) {}

void CCopyRun::Begin(UINT nSteps) {
    m_nSteps = nSteps;
    // The 32-bit range: the 16-bit packing would wrap at 65,536 rows.
    m_progress.SendMessage(PBM_SETRANGE32, 0, static_cast<LPARAM>(nSteps));
    m_progress.SendMessage(PBM_SETPOS, 0);
    m_progress.SendMessage(PBM_SETSTEP, 1);
    m_progress.SendMessage(PPM_SHOWPERCENT, FALSE);
}

void CCopyRun::Show(const char* lpszVerb, const CString& fileName, UINT nStep, bool bAtOnce) {
    m_status.Format("%s %s(%u of %u)...", lpszVerb, static_cast<LPCSTR>(fileName), nStep, m_nSteps);
    const DWORD dwNow = ::GetTickCount();
    if (!bAtOnce && nStep < m_nSteps && dwNow - m_dwShownAt < kQuickStepsShownMs)
        return;
    m_dwShownAt = dwNow;
    m_progress.SetWindowText(m_status);
    // Steps that did not show are counted in at once.
    if (m_progress.SendMessage(PBM_GETPOS) + 1 == static_cast<LRESULT>(nStep))
        m_progress.SendMessage(PBM_STEPIT);
    else
        m_progress.SendMessage(PBM_SETPOS, nStep);
}

void CCopyRun::CopyRows(const CListCtrl& playlist, const CButton& prefixCheck,
                        const std::vector<CopyRow>& rows) {
    Begin(static_cast<UINT>(rows.size()));
    CCopyNames names(m_nSteps);
    UINT i = 0;
    for (; i < static_cast<UINT>(playlist.GetItemCount()); ++i) {
        if (i > 0 && m_stopWanted()) {
            m_bStopped = true;
            break;
        }
        CopyRow row;
        row.path = playlist.GetItemText(static_cast<int>(i), 1);
        row.fileName = playlist.GetItemText(static_cast<int>(i), 0);
        if (i < rows.size() && rows[i].path == row.path)
            row.source = rows[i].source;
        const CString name = names.Name(i, row.fileName, prefixCheck.GetCheck() == BST_CHECKED);
        m_names.push_back(name);
        Show("Copying", row.fileName, i + 1, true);
        // Two rows of one name: the later one would replace what the earlier one brought.
        const bool bCopied =
            !names.Filled(name) &&
            Copied(row, name, m_own.Holds(name) ? Existing::kReplaceOwn : Existing::kReplace);
        if (m_bStopped)
            break;
        if (bCopied) {
            names.Fill(name);
            m_own.Arrived(name);
        }
        Count(bCopied);
    }
    m_nReached = i;
}

void CCopyRun::Update(const UpdatePlan& plan, const std::vector<CopyRow>& rows) {
    Begin(static_cast<UINT>(plan.steps.size()));
    m_names = plan.names;
    std::vector<bool> done(m_nSteps);
    UINT i = 0;
    for (; i < m_nSteps; ++i) {
        if (i > 0 && m_stopWanted()) {
            m_bStopped = true;
            break;
        }
        const UpdateStep& step = plan.steps[i];
        CString fileName = step.nRow >= 0 ? rows[static_cast<size_t>(step.nRow)].fileName
                                          : NameAfterPosition(step.from);
        if (fileName.IsEmpty())
            fileName = step.from;
        const bool bCanRun = step.nAfter < 0 || done[static_cast<size_t>(step.nAfter)];
        bool bDone = false;
        switch (step.kind) {
        case UpdateStep::Kind::kRemove:
            Show("Removing", fileName, i + 1, false);
            if ((bDone = bCanRun && RemoveFile(JoinPath(m_drive, step.from))))
                m_own.Removed(step.from);
            break;
        case UpdateStep::Kind::kRename:
            Show("Renaming", fileName, i + 1, false);
            if ((bDone = bCanRun && RenameInFolder(m_drive, step.from, step.to, step.bReplace)))
                m_own.Renamed(step.from, step.to);
            break;
        case UpdateStep::Kind::kCopy:
            Show("Copying", fileName, i + 1, true);
            if ((bDone = bCanRun && !step.bTaken &&
                         Copied(rows[static_cast<size_t>(step.nRow)], step.to,
                                step.bReplace ? Existing::kReplaceOwn : Existing::kKeep)))
                m_own.Arrived(step.to);
            break;
        }
        if (m_bStopped)
            break;
        done[i] = bDone;
        Count(bDone);
    }
    m_nReached = i;
}

bool CCopyRun::Copied(const CopyRow& row, const CString& name, Existing existing) {
    // A source the run could not see at its start is taken at the size it has now.
    const FileFacts source = row.source.bExists ? row.source : ReadFileFacts(row.path);
    if (m_bFolderFull || IsTooLargeFor(m_facts, source.nBytes))
        return false;
    int nShownPercent = -1;
    auto progress = [&](ULONGLONG nCopied, ULONGLONG nTotal) {
        if (m_stopWanted())
            return false;
        const int nPercent = nTotal > 0 ? static_cast<int>(nCopied * 100 / nTotal) : 0;
        if (nTotal >= kLongFileBytes && nPercent != nShownPercent) {
            nShownPercent = nPercent;
            CString text;
            text.Format("%s %d%%", static_cast<LPCSTR>(m_status), nPercent);
            m_progress.SetWindowText(text);
            m_progress.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
        return true;
    };
    switch (m_copy.Copy(row.path, m_drive, name, source.nBytes, existing, progress)) {
    case CopyOutcome::kCopied:
        return true;
    case CopyOutcome::kStopped:
        m_bStopped = true;
        return false;
    case CopyOutcome::kFolderFull:
        m_bFolderFull = true;
        return false;
    case CopyOutcome::kFailed:
        break;
    }
    return false;
}

CString CCopyRun::Summary() const {
    CString summary("Complete");
    const UINT nCopied = m_nReached - m_nFailed;
    if (m_bStopped && m_nFailed > 0)
        summary.Format("Stopped, %u of %u files copied, %u failed", nCopied, m_nSteps, m_nFailed);
    else if (m_bStopped)
        summary.Format("Stopped, %u of %u files copied", nCopied, m_nSteps);
    else if (m_nFailed > 0)
        summary.Format("Complete, %u of %u files failed", m_nFailed, m_nReached);
    return summary;
}
