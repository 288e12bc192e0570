// One run of Copy Files on the progress bar: each step shows before it is carried out, what
// fails is counted, a stop is asked for between two steps and while a file is copied, and the
// run ends with the text that says how it went.
#pragma once

#include "controls/progress/PercentProgressCtrl.h"
#include "copy/CopyNames.h"
#include "copy/CopyRecord.h"
#include "copy/StagedCopy.h"
#include "copy/VolumeLimits.h"
#include "framework/Button.h"
#include "framework/ListCtrl.h"

#include <functional>

class CCopyRun {
public:
    // Copies into drive's root, where own are the program's copies; stopWanted is asked
    // between steps and during a file's copy.
    CCopyRun(CPercentProgressCtrl& progress, const CString& drive, const VolumeFacts& facts,
             COwnCopies own, std::function<bool()> stopWanted);

    // Copies every row in order. Each row, and whether its copy is named with its position,
    // is read when its turn comes, and so is the row count; rows holds the sources' sizes as
    // the run began.
    void CopyRows(const CListCtrl& playlist, const CButton& prefixCheck,
                  const std::vector<CopyRow>& rows);
    // Carries out the steps of an update; a step that waits for one that failed is not tried.
    void Update(const UpdatePlan& plan, const std::vector<CopyRow>& rows);

    // The program's copies in the root, as far as the run came.
    const COwnCopies& Own() const { return m_own; }
    // The names the list's copies have on the drive, in list order, as far as the run came.
    const std::vector<CString>& Names() const { return m_names; }
    // "Complete", "Complete, N of M files failed", or "Stopped, N of M files copied[, K failed]".
    CString Summary() const;

private:
    void Begin(UINT nSteps);
    // Shows step nStep (from 1) as done to fileName; at once, or when the bar has not shown a
    // step for a while.
    void Show(const char* lpszVerb, const CString& fileName, UINT nStep, bool bAtOnce);
    // Copies a row's source under name; false when it did not arrive, and when the run was
    // stopped during the copy.
    bool Copied(const CopyRow& row, const CString& name, Existing existing);
    void Count(bool bDone) { m_nFailed += bDone ? 0 : 1; }

    CPercentProgressCtrl& m_progress;
    const CString m_drive;
    const VolumeFacts m_facts;
    const std::function<bool()> m_stopWanted;  // asked between steps and during a file
    CStagedCopy m_copy;
    COwnCopies m_own;
    std::vector<CString> m_names;
    CString m_status;       // the text of the step being carried out
    DWORD m_dwShownAt = 0;  // when the bar last showed a step
    UINT m_nSteps = 0;      // of the run
    UINT m_nReached = 0;    // steps begun and not stopped
    UINT m_nFailed = 0;
    bool m_bStopped = false;
    bool m_bFolderFull = false;  // the root took no further name: later copies are not tried
};
