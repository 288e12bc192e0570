#include "copy/CopyRunner.h"

#include "copy/CopyCheck.h"
#include "copy/CopyNames.h"
#include "copy/CopyRecord.h"
#include "copy/StagedCopy.h"

namespace {

const char kDifferingText[] =
    "%u %s on %s %s not what was written: %s. The drive may be failing, or smaller than it "
    "claims to be: cards sold with a false size lose what was written before when they are "
    "filled.";

// A copy the run made, to be checked.
struct MadeCopy {
    CString name;       // on the drive
    CString fileName;   // of its row
    FileDigest digest;  // of what was read from the source and written
};

class CRunner {
public:
    CRunner(const CString& drive, const VolumeFacts& facts, const UpdatePlan& plan,
            const std::vector<CopyRow>& rows, CCopyObserver& observer)
        : m_drive(drive), m_facts(facts), m_plan(plan), m_rows(rows), m_observer(observer),
          m_own(plan.own), m_filled(static_cast<UINT>(rows.size())) {}

    RunOutcome Run(const std::vector<RootEntry>& root) {
        m_outcome.nSteps = static_cast<UINT>(m_plan.steps.size());
        m_outcome.names = m_plan.names;
        // Written first as well, so that its entries are taken before the copies fill a FAT root.
        m_own.Write(m_drive, root);
        {
            // Gone with its staging folder before the copies are read back.
            CStagedCopy copy;
            CarryOut(copy);
        }
        m_outcome.root = ListRootInOrder(m_drive, m_facts, &m_outcome.bOrderKnown);
        // Written where the copies went, as the drive lists them now, and nowhere else; before
        // the check, which then also sees what writing it did on a card smaller than it claims.
        // After the check nothing is written: on such a card it would spoil what was checked.
        if (IsSameVolume(m_drive, m_facts))
            m_own.Write(m_drive, m_outcome.root);
        // Esc during the steps stops the run, the check with it; Check Device reads them later.
        if (!m_outcome.bStopped)
            Check();
        if (!m_outcome.differed.empty())
            m_outcome.root = ListRootInOrder(m_drive, m_facts, &m_outcome.bOrderKnown);
        return std::move(m_outcome);
    }

private:
    void CarryOut(CStagedCopy& copy) {
        const UINT nSteps = m_outcome.nSteps;
        std::vector<bool> done(nSteps);
        UINT i = 0;
        for (; i < nSteps; ++i) {
            if (i > 0 && m_observer.StopWanted()) {
                m_outcome.bStopped = true;
                break;
            }
            const UpdateStep& step = m_plan.steps[i];
            m_observer.StepBegun(step.kind, FileNameOf(step), i + 1, nSteps);
            // A step whose name a failed step was to free is not tried.
            const bool bCanRun = step.nAfter < 0 || done[static_cast<size_t>(step.nAfter)];
            bool bDone = false;
            switch (step.kind) {
            case UpdateStep::Kind::kRemove:
                if ((bDone = bCanRun && RemoveFile(JoinPath(m_drive, step.from))))
                    m_own.Removed(step.from);
                break;
            case UpdateStep::Kind::kRename:
                if ((bDone = bCanRun && RenameInFolder(m_drive, step.from, step.to, step.bReplace)))
                    m_own.Renamed(step.from, step.to);
                break;
            case UpdateStep::Kind::kCopy:
                // Two rows of one name: the later one would replace what the earlier one brought.
                if ((bDone = bCanRun && !step.bTaken && !m_filled.Filled(step.to) &&
                             Copied(copy, m_rows[static_cast<size_t>(step.nRow)], step))) {
                    m_filled.Fill(step.to);
                    m_own.Arrived(step.to);
                }
                break;
            }
            if (m_outcome.bStopped)
                break;
            done[i] = bDone;
            m_outcome.nFailed += bDone ? 0 : 1;
        }
        m_outcome.nReached = i;
    }

    // The row's file name, or for a file of no row the name after its position.
    CString FileNameOf(const UpdateStep& step) const {
        if (step.nRow >= 0)
            return m_rows[static_cast<size_t>(step.nRow)].fileName;
        const CString after = NameAfterPosition(step.from);
        return after.IsEmpty() ? step.from : after;
    }

    // Copies a row's source as the step says; false when it did not arrive, and when the run
    // was stopped during the copy.
    bool Copied(CStagedCopy& copy, const CopyRow& row, const UpdateStep& step) {
        // A source the run could not see at its start is taken at the size it has now.
        const FileFacts source = row.source.bExists ? row.source : ReadFileFacts(row.path);
        if (m_bFolderFull || IsTooLargeFor(m_facts, source.nBytes))
            return false;
        const Existing existing = step.bReplace       ? Existing::kReplaceOwn
                                  : m_plan.bOverwrite ? Existing::kReplace
                                                      : Existing::kKeep;
        auto progress = [this](ULONGLONG nCopied, ULONGLONG nTotal) {
            if (m_observer.StopWanted())
                return false;
            m_observer.BytesCopied(nCopied, nTotal);
            return true;
        };
        switch (copy.Copy(row.path, m_drive, step.to, source.nBytes, existing, progress)) {
        case CopyOutcome::kCopied:
            m_made.push_back({step.to, row.fileName, copy.Digest()});
            return true;
        case CopyOutcome::kStopped:
            m_outcome.bStopped = true;
            return false;
        case CopyOutcome::kFolderFull:
            // The root took no further name: later copies are not tried.
            m_bFolderFull = true;
            return false;
        case CopyOutcome::kFailed:
            break;
        }
        return false;
    }

    void Check() {
        if (m_made.empty())
            return;
        // Gone with the drive: nothing can be checked, and the bar keeps showing the steps.
        if (!IsSameVolume(m_drive, m_facts)) {
            m_outcome.nUnchecked = static_cast<UINT>(m_made.size());
            return;
        }
        CCopyCheck check(m_drive);
        const UINT nChecks = static_cast<UINT>(m_made.size());
        for (UINT i = 0; i < nChecks; ++i) {
            const MadeCopy& made = m_made[i];
            CheckResult result = CheckResult::kStopped;
            if (!m_observer.StopWanted()) {
                m_observer.CheckBegun(made.fileName, i + 1, nChecks);
                result = check.Check(JoinPath(m_drive, made.name), made.digest,
                                     [this] { return m_observer.StopWanted(); });
            }
            // A copy that cannot be read on a drive that has left, or that another volume has
            // taken the letter of, was not checked, and is not to be removed there.
            if (result == CheckResult::kStopped ||
                (result == CheckResult::kUnreadable && !IsSameVolume(m_drive, m_facts))) {
                m_outcome.nUnchecked = nChecks - i;
                return;
            }
            if (result != CheckResult::kEqual) {
                RemoveFile(JoinPath(m_drive, made.name));
                m_outcome.differed.push_back(made.name);
                ++m_outcome.nFailed;
            }
        }
    }

    const CString m_drive;
    const VolumeFacts& m_facts;
    const UpdatePlan& m_plan;
    const std::vector<CopyRow>& m_rows;
    CCopyObserver& m_observer;
    COwnCopies m_own;
    CCopyNames m_filled;           // the names the run's copies arrived at
    std::vector<MadeCopy> m_made;  // in the order they were made
    bool m_bFolderFull = false;
    RunOutcome m_outcome;
};

}  // namespace

CString RunOutcome::Summary() const {
    CString summary("Complete");
    const UINT nCopied = nReached - nFailed;
    if (bStopped && nFailed > 0)
        summary.Format("Stopped, %u of %u files copied, %u failed", nCopied, nSteps, nFailed);
    else if (bStopped)
        summary.Format("Stopped, %u of %u files copied", nCopied, nSteps);
    else if (nFailed > 0)
        summary.Format("Complete, %u of %u files failed", nFailed, nReached);
    if (nUnchecked > 0) {
        CString unchecked;
        unchecked.Format(", %u %s not checked", nUnchecked, nUnchecked == 1 ? "copy" : "copies");
        summary += unchecked;
    }
    return summary;
}

RunOutcome RunPlan(const CString& drive, const VolumeFacts& facts, const UpdatePlan& plan,
                   const std::vector<CopyRow>& rows, const std::vector<RootEntry>& root,
                   CCopyObserver& observer) {
    return CRunner(drive, facts, plan, rows, observer).Run(root);
}

CString DescribeDiffering(const CString& drive, const std::vector<CString>& names) {
    const bool bOne = names.size() == 1;
    CString text;
    text.Format(kDifferingText, static_cast<unsigned>(names.size()), bOne ? "file" : "files",
                static_cast<LPCSTR>(drive), bOne ? "is" : "are",
                static_cast<LPCSTR>(ListOfNames(names, 5)));
    return text;
}
