#include "copy/UpdatePlan.h"

#include "copy/CopyNames.h"

#include <unordered_map>

namespace {

const ULONGLONG kSecond = 10000000;  // in FILETIME units

// What holds a name in the root while the steps are planned.
enum Holder : int {
    kForeign = -1,   // a file that is no earlier copy: a copy of a row would replace it
    kFolder = -2,    // a folder, or a name the code page cannot spell: nothing replaces it
    kMadeByRun = -3  // a row's copy, made by an earlier step
};

struct DriveFile {
    CString name;         // its name now
    std::wstring key;     // of the name, for looking it up
    size_t nListed;       // its place in the root's listing
    ULONGLONG nPosition;  // the position in front of its name, to keep copies of one row in order
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
        : m_rows(rows), m_candidates(rows.size()), m_claimed(rows.size(), -1) {
        const CCopyNames names(static_cast<UINT>(rows.size()));
        for (size_t r = 0; r < rows.size(); ++r) {
            m_targets.push_back(names.Name(static_cast<UINT>(r), rows[r].fileName, bPrefix));
            m_targetKeys.push_back(Key(m_targets.back()));
            m_rowsNamed[Key(rows[r].fileName)].push_back(static_cast<int>(r));
        }
        for (size_t i = 0; i < root.size(); ++i)
            AddRootEntry(root[i], i, bPrefix);
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
        // What no row took goes when it is named as a copy, and is in the way of copies else.
        for (size_t i = 0; i < m_files.size(); ++i) {
            if (m_files[i].nRow >= 0)
                continue;
            if (m_removable[i]) {
                m_plan.removed.push_back(m_files[i].name);
                m_plan.steps.push_back({UpdateStep::Kind::kRemove, -1, m_files[i].name, {}});
                m_names.erase(m_files[i].key);
            } else {
                m_names[m_files[i].key] = kForeign;
            }
        }
        const size_t nInOrder = bKeepsWriteOrder ? RowsInPlaceAndInOrder() : m_rows.size();
        for (size_t r = 0; r < m_rows.size(); ++r) {
            const int nFile = m_claimed[r];
            const std::wstring& target = m_targetKeys[r];
            if (nFile >= 0 && File(nFile).key == target) {
                ++m_plan.nHeld;
                File(nFile).bPlaced = true;
                // Renamed away and back, the entry moves behind those of the rows before it.
                if (r >= nInOrder) {
                    MoveAside(nFile);
                    Rename(nFile, m_targets[r], false);
                }
                continue;
            }
            MakeRoom(target, r);
            auto held = m_names.find(target);
            if (nFile >= 0) {
                ++m_plan.nHeld;
                File(nFile).bPlaced = true;
                Rename(nFile, m_targets[r], held != m_names.end() && held->second == kForeign);
            } else {
                ++m_plan.nCopied;
                const bool bFree = held == m_names.end() || held->second == kForeign;
                m_plan.steps.push_back({UpdateStep::Kind::kCopy,
                                        static_cast<int>(r),
                                        {},
                                        m_targets[r],
                                        false,
                                        !bFree && held->second != kFolder});
                if (bFree)
                    m_names[target] = kMadeByRun;
            }
        }
        m_plan.names = m_targets;
        return std::move(m_plan);
    }

private:
    static std::wstring Key(const CString& name) { return FileNameKey(AnsiToWide(name)); }
    DriveFile& File(int nFile) { return m_files[static_cast<size_t>(nFile)]; }

    void AddRootEntry(const RootEntry& entry, size_t nListed, BOOL bPrefix) {
        const std::wstring name = Key(entry.name);
        if (entry.bFolder || !entry.bSpelled) {
            m_names[name] = kFolder;
            return;
        }
        const int nFile = static_cast<int>(m_files.size());
        m_files.push_back({entry.name, name, nListed, PositionOf(entry.name)});
        m_names[name] = nFile;
        const CString after = NameAfterPosition(entry.name);
        bool bUnknownSource = false;
        for (const CString& key : {after, bPrefix ? CString() : entry.name}) {
            auto named = key.IsEmpty() ? m_rowsNamed.end() : m_rowsNamed.find(Key(key));
            if (named == m_rowsNamed.end())
                continue;
            for (int r : named->second) {
                const FileFacts& source = m_rows[static_cast<size_t>(r)].source;
                // With its source out of reach, a file may well be the row's copy: it stays.
                bUnknownSource |= !source.bExists;
                if (IsEarlierCopyOf(entry.facts, source))
                    m_candidates[static_cast<size_t>(r)].push_back(nFile);
            }
        }
        m_removable.push_back(!after.IsEmpty() && !bUnknownSource);
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

    // How many rows from the first already stand under their names, in list order.
    size_t RowsInPlaceAndInOrder() const {
        size_t r = 0;
        for (size_t nLast = 0; r < m_rows.size(); ++r) {
            const int nFile = m_claimed[r];
            if (nFile < 0)
                break;
            const DriveFile& file = m_files[static_cast<size_t>(nFile)];
            if (file.key != m_targetKeys[r] || (r > 0 && file.nListed < nLast))
                break;
            nLast = file.nListed;
        }
        return r;
    }

    // Moves the earlier copy of a later row out of target's way.
    void MakeRoom(const std::wstring& target, size_t r) {
        auto held = m_names.find(target);
        if (held == m_names.end() || held->second < 0)
            return;
        DriveFile& file = File(held->second);
        if (!file.bPlaced && file.nRow >= 0 && static_cast<size_t>(file.nRow) != r)
            MoveAside(held->second);
    }

    // A name no file holds, of digits that are all 0 and the file name: no row's position,
    // yet a copy's name, so that the next plan finds the file should the update stop here.
    void MoveAside(int nFile) {
        const CString& fileName = m_rows[static_cast<size_t>(File(nFile).nRow)].fileName;
        CString zeros = "0";
        while (m_names.count(Key(zeros + "_" + fileName)))
            zeros += "0";
        Rename(nFile, zeros + "_" + fileName, false);
    }

    void Rename(int nFile, const CString& to, bool bReplace) {
        DriveFile& file = File(nFile);
        m_plan.steps.push_back({UpdateStep::Kind::kRename, file.nRow, file.name, to, bReplace});
        if (!file.bRenamed)
            ++m_plan.nRenamed;
        file.bRenamed = true;
        m_names.erase(file.key);
        file.key = Key(to);
        m_names[file.key] = nFile;
        file.name = to;
    }

    const std::vector<CopyRow>& m_rows;
    std::vector<CString> m_targets;                                  // each row's name on the drive
    std::vector<std::wstring> m_targetKeys;                          // and its key
    std::unordered_map<std::wstring, std::vector<int>> m_rowsNamed;  // file name -> rows
    std::vector<DriveFile> m_files;                                  // the root's files
    std::vector<bool> m_removable;                  // per file: named as a copy, unless claimed
    std::vector<std::vector<int>> m_candidates;     // row -> the files that are its earlier copies
    std::vector<int> m_claimed;                     // row -> the file it took, or -1
    std::unordered_map<std::wstring, int> m_names;  // every name in the root -> its file
                                                    // (while claims are made) or Holder
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
        action.Format("remove %u earlier %s no longer listed", nRemoved,
                      nRemoved == 1 ? "copy that is" : "copies that are");
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

UpdatePlan PlanUpdate(const std::vector<CopyRow>& rows, BOOL bPrefix,
                      const std::vector<RootEntry>& root, bool bKeepsWriteOrder) {
    CPlanner planner(rows, bPrefix, root);
    planner.Claim();
    return planner.Plan(bKeepsWriteOrder);
}
