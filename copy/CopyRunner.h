// Carries out one plan on a drive, without a window: each step in turn, a stop asked for
// between two and while a file is copied; then every file the run copied is read back past the
// system's cache and compared with what was read from its source, and a copy that differs is
// removed, so that no later update takes it for a good one. The drive's record of the
// program's copies is written before the first step and after the last, before the check. An
// observer is told what happens and asked whether to stop; the outcome is returned.
#pragma once

#include "copy/VolumeLimits.h"

class CCopyObserver {
public:
    virtual ~CCopyObserver() = default;
    // Step nStep (from 1) of nSteps begins, for the row, or the file, named fileName.
    virtual void StepBegun(UpdateStep::Kind kind, const CString& fileName, UINT nStep,
                           UINT nSteps) = 0;
    // How far the copy of the current file has come, told now and then.
    virtual void BytesCopied(ULONGLONG nCopied, ULONGLONG nTotal) = 0;
    // The check of copy nCheck (from 1) of nChecks begins, of the row named fileName.
    virtual void CheckBegun(const CString& fileName, UINT nCheck, UINT nChecks) = 0;
    // Asked between two steps, between two checks and between the pieces of a file; true
    // stops the steps, or during the check the check alone.
    virtual bool StopWanted() = 0;
};

struct RunOutcome {
    UINT nSteps = 0;
    UINT nReached = 0;              // steps begun and not stopped
    UINT nFailed = 0;               // steps that failed, and copies that the check found wrong
    bool bStopped = false;          // during the steps: nothing was checked
    std::vector<CString> names;     // each row's name on the drive
    std::vector<CString> differed;  // copies that are not what was written: removed
    UINT nUnchecked = 0;            // copies made and not checked: the check was stopped, or
                                    // the drive left during it
    std::vector<RootEntry> root;    // the drive's root after the run
    bool bOrderKnown = false;       // root stands in the order of the disk

    // "Complete", "Complete, N of M files failed" or "Stopped, N of M files copied[, K failed]";
    // after a check that did not end, how many copies it did not check.
    CString Summary() const;
};

// Carries out plan for rows on drive, whose volume facts and root (own copies marked) the
// plan was made from.
RunOutcome RunPlan(const CString& drive, const VolumeFacts& facts, const UpdatePlan& plan,
                   const std::vector<CopyRow>& rows, const std::vector<RootEntry>& root,
                   CCopyObserver& observer);

// The message after a run whose check found the copies names on drive not what was written.
CString DescribeDiffering(const CString& drive, const std::vector<CString>& names);
