// A run of Copy Files, Check Device or the root put in order, watched on the progress bar: each
// step shows before it is carried out, copies at once and quicker steps now and then, a long
// file shows how far its copy has come, and Esc is what stops it.
#pragma once

#include "controls/progress/PercentProgressCtrl.h"
#include "copy/CopyRunner.h"

#include <functional>

class CCopyProgress : public CCopyObserver {
public:
    // Starts the bar from empty for nSteps steps; stopWanted says whether Esc was pressed.
    CCopyProgress(CPercentProgressCtrl& progress, UINT nSteps, std::function<bool()> stopWanted);

    void StepBegun(UpdateStep::Kind kind, const CString& fileName, UINT nStep,
                   UINT nSteps) override;
    void BytesCopied(ULONGLONG nCopied, ULONGLONG nTotal) override;
    // The checks start the bar from empty again.
    void CheckBegun(const CString& fileName, UINT nCheck, UINT nChecks) override;
    bool StopWanted() override { return m_stopWanted(); }
    // A move of the root put in order, as the moves' progress is told.
    bool Moved(const CString& name, UINT nMove, UINT nMoves);
    // Shows text, such as how the run went, at once.
    void End(const CString& text);

private:
    void Begin(UINT nSteps);
    // Shows step nStep (from 1) as done to fileName; at once, or when the bar has not shown a
    // step for a while.
    void Show(const char* lpszVerb, const CString& fileName, UINT nStep, bool bAtOnce);

    CPercentProgressCtrl& m_progress;
    const std::function<bool()> m_stopWanted;
    CString m_status;          // the text of the step being carried out
    DWORD m_dwShownAt = 0;     // when the bar last showed a step
    UINT m_nSteps = 0;         // of what the bar shows now
    int m_nShownPercent = -1;  // of the long file being copied
};
