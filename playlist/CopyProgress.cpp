#include "playlist/CopyProgress.h"

namespace {
// A file of this size or more shows in the bar's text how far its copy has come.
const ULONGLONG kLongFileBytes = 32ULL << 20;
// Renames, removals, moves and the checks of small files take less than a repaint of the bar:
// they show this often at most.
const DWORD kQuickStepsShownMs = 50;
}  // namespace

CCopyProgress::CCopyProgress(CPercentProgressCtrl& progress, UINT nSteps,
                             std::function<bool()> stopWanted)
    : m_progress(progress), m_stopWanted(std::move(stopWanted)) {
    Begin(nSteps);
    m_progress.SendMessage(PBM_SETSTEP, 1);
    m_progress.SendMessage(PPM_SHOWPERCENT, FALSE);
}

void CCopyProgress::Begin(UINT nSteps) {
    m_nSteps = nSteps;
    // The 32-bit range: the 16-bit packing would wrap at 65,536 rows.
    m_progress.SendMessage(PBM_SETRANGE32, 0, static_cast<LPARAM>(nSteps));
    m_progress.SendMessage(PBM_SETPOS, 0);
}

void CCopyProgress::StepBegun(UpdateStep::Kind kind, const CString& fileName, UINT nStep, UINT) {
    switch (kind) {
    case UpdateStep::Kind::kCopy:
        m_nShownPercent = -1;
        Show("Copying", fileName, nStep, true);
        break;
    case UpdateStep::Kind::kRename:
        Show("Renaming", fileName, nStep, false);
        break;
    case UpdateStep::Kind::kRemove:
        Show("Removing", fileName, nStep, false);
        break;
    }
}

void CCopyProgress::BytesCopied(ULONGLONG nCopied, ULONGLONG nTotal) {
    const int nPercent = nTotal > 0 ? static_cast<int>(nCopied * 100 / nTotal) : 0;
    if (nTotal < kLongFileBytes || nPercent == m_nShownPercent)
        return;
    m_nShownPercent = nPercent;
    CString text;
    text.Format("%s %d%%", static_cast<LPCSTR>(m_status), nPercent);
    End(text);
}

void CCopyProgress::CheckBegun(const CString& fileName, UINT nCheck, UINT nChecks) {
    if (nCheck == 1)
        Begin(nChecks);
    Show("Checking", fileName, nCheck, nCheck == 1);
}

bool CCopyProgress::Moved(const CString& name, UINT nMove, UINT) {
    const CString after = NameAfterPosition(name);
    Show("Moving", after.IsEmpty() ? name : after, nMove, nMove == 1);
    return !StopWanted();
}

void CCopyProgress::End(const CString& text) {
    m_progress.SetWindowText(text);
    m_progress.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CCopyProgress::Show(const char* lpszVerb, const CString& fileName, UINT nStep, bool bAtOnce) {
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
