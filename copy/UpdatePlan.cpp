#include "copy/UpdatePlan.h"

#include "copy/CopyNames.h"
#include "copy/CopyRecord.h"

#include <unordered_map>
#include <unordered_set>

namespace {

const ULONGLONG kSecond = 10000000;  // in FILETIME units

// What holds a name in the root besides its files (numbered from 0) while steps are planned.
enum Holder : int {
    kFolder = -2,       // a folder, or a name the code page cannot spell: nothing replaces it
    kMadeByRun = -3,    // a row's copy, made by an earlier step
    kFreedByStep = -4,  // and below: nothing, since step kFreedByStep - holder took the file away
};

struct DriveFile {
    CString name;         // its name now
    std::wstring key;     // of the name, for looking it up
    size_t nListed;       // its place in the root's listing
    ULONGLONG nPosition;  // the position in front of its name, to keep copies of one row in order
    bool bOwn;            // the copy record names it as it is: it may be removed or replaced
    bool bKept = false;   // it may be the copy of a row whose source is out of reach
    int nRow = -1;        // the row it is the earlier copy of, once claimed
    bool bPlaced = false;
    bool bRenamed = false;
};

ULONGLONG PositionOf(const CString& name) {
    ULONGLONG nPosition = 0;
    for (int i = 0; i < name.GetLength() && name[i] >= '0' && name[i] <= '9'; ++i)
        nPosition = nPosition > (~0ULL - 9) / 10 ? ~0ULL : nPosition * 10 + (name[i] - '0');
    return nPosition;
}

class CPlanner {
public:
    CPlanner(const std::vector<CopyRow>& rows, BOOL bPrefix, const std::vector<RootEntry>& root)
        : m_rows(rows), m_bPrefix(bPrefix), m_bRepeated(rows.size()), m_candidates(rows.size()),
          m_claimed(rows.size(), -1) {
        const CCopyNames names(static_cast<UINT>(rows.size()));
        for (size_t r = 0; r < rows.size(); ++r) {
            m_targets.push_back(names.Name(static_cast<UINT>(r), rows[r].fileName, bPrefix));
            m_targetKeys.push_back(Key(m_targets.back()));
            // Positions make each name one of its own; names alone may be the same.
            m_bRepeated[r] = !bPrefix && !m_plainTargets.insert(m_targetKeys.back()).second;
            m_rowsNamed[Key(rows[r].fileName)].push_back(static_cast<int>(r));
        }
        for (size_t i = 0; i < root.size(); ++i)
            AddRootEntry(root[i], i);
    }

    // Each row takes the earlier copy that already has its name, else the one of the smallest
    // position.
    void Claim() {
        for (size_t r = 0; r < m_rows.size(); ++r) {
            auto held = m_names.find(m_targetKeys[r]);
            if (held != m_names.end() && held->second >= 0 && IsFreeCandidate(held->second, r))
                Take(held->second, r);
        }
        for (size_t r = 0; r < m_rows.size(); ++r) {
            int nBest = -1;
            for (int nFile : m_candidates[r]) {
                if (m_claimed[r] < 0 && File(nFile).nRow < 0 &&
                    (nBest < 0 || File(nFile).nPosition < File(nBest).nPosition))
                    nBest = nFile;
            }
            if (nBest >= 0)
                Take(nBest, r);
        }
    }

    UpdatePlan Plan(bool bKeepsWriteOrder) {
        for (int nFile : m_claimed)
            m_plan.held.push_back(nFile >= 0 ? File(nFile).name : CString());
        for (DriveFile& file : m_files) {
            if (file.bOwn || file.nRow >= 0)
                m_plan.own.push_back(file.name);
        }
        // Own copies that no row took go, unless the copy of a row takes their name.
        for (size_t i = 0; i < m_files.size(); ++i) {
            if (IsReplaceable(m_files[i]) && !IsCopiedOnto(m_files[i]))
                Remove(static_cast<int>(i));
        }
        for (size_t r = 0; r < m_rows.size(); ++r) {
            const bool bInTheWay =
                !m_bRepeated[r] && m_rows[r].source.bExists && IsInTheWay(m_targetKeys[r]);
            m_destinations.push_back(bInTheWay ? OtherName(r) : m_targets[r]);
            m_destinationKeys.push_back(bInTheWay ? Key(m_destinations.back()) : m_targetKeys[r]);
        }
        const size_t nInOrder = bKeepsWriteOrder ? RowsInPlaceAndInOrder() : m_rows.size();
        for (size_t r = 0; r < m_rows.size(); ++r) {
            const int nFile = m_claimed[r];
            const std::wstring& key = m_destinationKeys[r];
            if (m_bRepeated[r] || !m_rows[r].source.bExists) {
                // A later row of an earlier one's name, or one without a source, fails as in a
                // copy, and nothing is moved for it.
                ++m_plan.nCopied;
                AddStep({UpdateStep::Kind::kCopy,
                         static_cast<int>(r),
                         {},
                         m_destinations[r],
                         false,
                         m_bRepeated[r]},
                        key);
                continue;
            }
            if (nFile >= 0 && File(nFile).key == key) {
                ++m_plan.nHeld;
                File(nFile).bPlaced = true;
                // Renamed away and back, the entry moves behind those of the rows before it.
                if (r >= nInOrder) {
                    MoveAside(nFile);
                    Rename(nFile, m_destinations[r], false);
                }
                continue;
            }
            MakeRoom(key, r);
            auto held = m_names.find(key);
            const bool bReplace =
                held != m_names.end() && held->second >= 0 && IsReplaceable(File(held->second));
            if (nFile >= 0) {
                ++m_plan.nHeld;
                File(nFile).bPlaced = true;
                Rename(nFile, m_destinations[r], bReplace);
            } else {
                ++m_plan.nCopied;
                AddStep(
                    {UpdateStep::Kind::kCopy, static_cast<int>(r), {}, m_destinations[r], bReplace},
                    key);
                m_names[key] = kMadeByRun;
            }
        }
        m_plan.names = m_destinations;
        return std::move(m_plan);
    }

private:
    static std::wstring Key(const CString& name) { return FileNameKey(AnsiToWide(name)); }
    DriveFile& File(int nFile) { return m_files[static_cast<size_t>(nFile)]; }
    static bool IsReplaceable(const DriveFile& file) {
        return file.bOwn && !file.bKept && file.nRow < 0;
    }

    void AddRootEntry(const RootEntry& entry, size_t nListed) {
        const std::wstring key = Key(entry.name);
        if (entry.bFolder || !entry.bSpelled) {
            m_names[key] = kFolder;
            return;
        }
        const int nFile = static_cast<int>(m_files.size());
        m_files.push_back({entry.name, key, nListed, PositionOf(entry.name), entry.bOwn});
        m_names[key] = nFile;
        // Named as a row's copy: after its position, or as it is where copies take none.
        const CString after = NameAfterPosition(entry.name);
        for (int i = 0; i < 2; ++i) {
            auto named = i == 1            ? m_rowsNamed.find(key)
                         : after.IsEmpty() ? m_rowsNamed.end()
                                           : m_rowsNamed.find(Key(after));
            if (named == m_rowsNamed.end())
                continue;
            for (int r : named->second) {
                const CopyRow& row = m_rows[static_cast<size_t>(r)];
                // With its source out of reach, a file may well be the row's copy: it stays.
                m_files.back().bKept |= !row.source.bExists;
                if ((i == 0 || !m_bPrefix) && !m_bRepeated[static_cast<size_t>(r)] &&
                    IsEarlierCopyOf(entry.facts, row.source))
                    m_candidates[static_cast<size_t>(r)].push_back(nFile);
            }
        }
    }

    bool IsFreeCandidate(int nFile, size_t r) {
        for (int n : m_candidates[r])
            if (n == nFile)
                return File(nFile).nRow < 0;
        return false;
    }

    void Take(int nFile, size_t r) {
        File(nFile).nRow = static_cast<int>(r);
        m_claimed[r] = nFile;
    }

    // Whether the copy of a row with a source takes the file's name.
    bool IsCopiedOnto(const DriveFile& file) const {
        if (m_bPrefix) {
            const size_t r = static_cast<size_t>(file.nPosition - 1);
            return file.nPosition >= 1 && r < m_rows.size() && m_targetKeys[r] == file.key &&
                   m_rows[r].source.bExists;
        }
        auto named = m_rowsNamed.find(file.key);
        return named != m_rowsNamed.end() &&
               m_rows[static_cast<size_t>(named->second[0])].source.bExists;
    }

    // A folder, or a file that is no copy this plan may move or replace: a file of the user's,
    // a copy from before the record that no row took, a copy changed since it was recorded.
    bool IsInTheWay(const std::wstring& key) {
        auto held = m_names.find(key);
        if (held == m_names.end() || held->second < 0)
            return held != m_names.end() && held->second == kFolder;
        const DriveFile& file = File(held->second);
        return file.nRow < 0 && !file.bKept && !file.bOwn;
    }

    // Where a row goes whose name is in the way: where its earlier copy went before, or a free
    // name of the kind MoveAside gives, which the next plan recognises.
    CString OtherName(size_t r) {
        const int nFile = m_claimed[r];
        if (nFile >= 0 && File(nFile).name[0] == '0' && File(nFile).nPosition == 0)
            return File(nFile).name;
        return FreeName(m_rows[r].fileName);
    }

    // How many rows from the first already stand under their names, in list order.
    size_t RowsInPlaceAndInOrder() const {
        size_t r = 0;
        for (size_t nLast = 0; r < m_rows.size(); ++r) {
            const int nFile = m_claimed[r];
            if (nFile < 0)
                break;
            const DriveFile& file = m_files[static_cast<size_t>(nFile)];
            if (file.key != m_destinationKeys[r] || (r > 0 && file.nListed < nLast))
                break;
            nLast = file.nListed;
        }
        return r;
    }

    // Moves the earlier copy of a later row, or a file that may be the copy of a row out of
    // reach, out of the name that row r takes.
    void MakeRoom(const std::wstring& key, size_t r) {
        auto held = m_names.find(key);
        if (held == m_names.end() || held->second < 0)
            return;
        const DriveFile& file = File(held->second);
        if ((file.nRow >= 0 && !file.bPlaced && static_cast<size_t>(file.nRow) != r) ||
            (file.nRow < 0 && file.bKept))
            MoveAside(held->second);
    }

    // A name no file holds and no row takes, of digits that are all 0 and the file name: no
    // row's position, yet a copy's name, so that the next plan finds the file should the
    // update stop here.
    CString FreeName(const CString& fileName) {
        for (CString name = "0_" + fileName;; name = "0" + name) {
            const std::wstring key = Key(name);
            auto held = m_names.find(key);
            if ((held == m_names.end() || held->second <= kFreedByStep) &&
                !m_plainTargets.count(key) && m_otherNames.insert(key).second)
                return name;
        }
    }

    void MoveAside(int nFile) {
        const DriveFile& file = File(nFile);
        const CString after = NameAfterPosition(file.name);
        Rename(nFile,
               FreeName(file.nRow >= 0    ? m_rows[static_cast<size_t>(file.nRow)].fileName
                        : after.IsEmpty() ? file.name
                                          : after),
               false);
    }

    void Rename(int nFile, const CString& to, bool bReplace) {
        DriveFile& file = File(nFile);
        const std::wstring key = Key(to);
        AddStep({UpdateStep::Kind::kRename, file.nRow, file.name, to, bReplace}, key);
        if (!file.bRenamed)
            ++m_plan.nRenamed;
        file.bRenamed = true;
        m_names[file.key] = kFreedByStep - static_cast<int>(m_plan.steps.size() - 1);
        file.key = key;
        m_names[file.key] = nFile;
        file.name = to;
    }

    void Remove(int nFile) {
        const DriveFile& file = File(nFile);
        m_plan.removed.push_back(file.name);
        AddStep({UpdateStep::Kind::kRemove, -1, file.name, {}}, {});
        m_names[file.key] = kFreedByStep - static_cast<int>(m_plan.steps.size() - 1);
    }

    // Adds a step that takes the name of toKey: after the step that freed it, if one did.
    void AddStep(UpdateStep step, const std::wstring& toKey) {
        auto held = m_names.find(toKey);
        if (held != m_names.end() && held->second <= kFreedByStep)
            step.nAfter = kFreedByStep - held->second;
        m_plan.steps.push_back(step);
    }

    const std::vector<CopyRow>& m_rows;
    const BOOL m_bPrefix;
    std::vector<CString> m_targets;                   // each row's name on the drive
    std::vector<std::wstring> m_targetKeys;           // and its key
    std::vector<bool> m_bRepeated;                    // per row: an earlier row has its name
    std::unordered_set<std::wstring> m_plainTargets;  // without positions: the rows' names
    std::vector<CString> m_destinations;  // each row's name as planned: its own name, or
                                          // another where that is in the way
    std::vector<std::wstring> m_destinationKeys;
    std::unordered_set<std::wstring> m_otherNames;                   // given by FreeName
    std::unordered_map<std::wstring, std::vector<int>> m_rowsNamed;  // file name -> rows
    std::vector<DriveFile> m_files;                                  // the root's files
    std::vector<std::vector<int>> m_candidates;     // row -> the files that are its earlier copies
    std::vector<int> m_claimed;                     // row -> the file it took, or -1
    std::unordered_map<std::wstring, int> m_names;  // every name in the root -> its file
                                                    // or Holder
    UpdatePlan m_plan;
};

}  // namespace

bool IsEarlierCopyOf(const FileFacts& copy, const FileFacts& source) {
    if (!copy.bExists || !source.bExists || copy.nBytes != source.nBytes)
        return false;
    const ULONGLONG nApart = copy.nWriteTime > source.nWriteTime
                                 ? copy.nWriteTime - source.nWriteTime
                                 : source.nWriteTime - copy.nWriteTime;
    const ULONGLONG nHour = 3600 * kSecond;
    return nApart <= 2 * kSecond ||
           (nApart >= nHour - 2 * kSecond && nApart <= nHour + 2 * kSecond);
}

CString NameAfterPosition(const CString& name) {
    int i = 0;
    while (i < name.GetLength() && name[i] >= '0' && name[i] <= '9')
        ++i;
    if (i == 0 || i + 1 >= name.GetLength() || name[i] != '_')
        return CString();
    return name.Mid(i + 1);
}

CString DescribeUpdate(const CString& drive, const UpdatePlan& plan, unsigned nRows) {
    CString text;
    if (nRows == 1)
        text.Format("%s already holds this file from an earlier copy.", static_cast<LPCSTR>(drive));
    else
        text.Format("%s already holds %u of these %u files from an earlier copy.",
                    static_cast<LPCSTR>(drive), plan.nHeld, nRows);
    std::vector<CString> actions;
    CString action;
    if (plan.nCopied > 0) {
        action.Format("copy %u new %s", plan.nCopied, plan.nCopied == 1 ? "file" : "files");
        actions.push_back(action);
    }
    if (plan.nRenamed > 0) {
        action.Format("rename %u", plan.nRenamed);
        actions.push_back(action);
    }
    const unsigned nRemoved = static_cast<unsigned>(plan.removed.size());
    if (nRemoved > 0) {
        action.Format("remove %u %s no longer listed", nRemoved,
                      nRemoved == 1 ? "copy made earlier that is" : "copies made earlier that are");
        actions.push_back(action);
    }
    if (actions.empty())
        return text + " It is up to date: keep it as it is?";
    text += " Update it: ";
    for (size_t i = 0; i < actions.size(); ++i)
        text += (i == 0 ? "" : i + 1 == actions.size() ? " and " : ", ") + actions[i];
    text += "?";
    if (nRemoved > 0) {
        text += "\nNo longer listed: " + ListOfNames(plan.removed, 5) + ".";
    }
    return text;
}

UpdatePlan PlanCopy(const std::vector<CopyRow>& rows, BOOL bPrefix,
                    const std::vector<CString>& own) {
    UpdatePlan plan;
    plan.bOverwrite = true;
    plan.own = own;
    const COwnCopies owned(own);
    const CCopyNames names(static_cast<UINT>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        plan.names.push_back(names.Name(static_cast<UINT>(r), rows[r].fileName, bPrefix));
        plan.steps.push_back({UpdateStep::Kind::kCopy,
                              static_cast<int>(r),
                              {},
                              plan.names.back(),
                              owned.Holds(plan.names.back())});
    }
    plan.nCopied = static_cast<unsigned>(rows.size());
    return plan;
}

UpdatePlan PlanUpdate(const std::vector<CopyRow>& rows, BOOL bPrefix,
                      const std::vector<RootEntry>& root, bool bKeepsWriteOrder) {
    CPlanner planner(rows, bPrefix, root);
    planner.Claim();
    return planner.Plan(bKeepsWriteOrder);
}
