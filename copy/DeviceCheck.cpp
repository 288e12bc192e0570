#include "copy/DeviceCheck.h"

#include "copy/CopyCheck.h"
#include "copy/CopyNames.h"
#include "copy/CopyRecord.h"
#include "framework/KernelHandle.h"

#include <set>

namespace {

const DWORD kPieceBytes = 1 << 20;

enum class SourceRead { kRead, kUnreadable, kStopped };

// The digest of a row's file, read through the cache as any file of the computer's.
SourceRead ReadDigest(LPCSTR lpszPath, const CCopyCheck::StopWanted& stopWanted,
                      std::vector<char>* pPiece, FileDigest* pDigest) {
    const CHandle hSource(::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (hSource.IsNull() || ::GetFileType(hSource) != FILE_TYPE_DISK)
        return SourceRead::kUnreadable;
    CContentDigest digest;
    pPiece->resize(kPieceBytes);
    for (DWORD nRead = kPieceBytes; nRead == kPieceBytes;) {
        if (!::ReadFile(hSource, pPiece->data(), kPieceBytes, &nRead, nullptr))
            return SourceRead::kUnreadable;
        digest.Add(pPiece->data(), nRead);
        if (nRead == kPieceBytes && stopWanted())
            return SourceRead::kStopped;
    }
    *pDigest = digest.Result();
    return SourceRead::kRead;
}

struct ToCheck {
    size_t nRow;
    CString name;  // of its copy on the drive
};

}  // namespace

CString DeviceCheck::Summary() const {
    CString summary("Complete");
    if (bStopped)
        summary.Format("Stopped, %u of %u copies checked", nChecked, nToCheck);
    return summary;
}

DeviceCheck CheckDevice(const CString& drive, const std::vector<CopyRow>& rows, BOOL bPrefix,
                        CCopyObserver& observer) {
    DeviceCheck check;
    bool bDiskOrder = false;
    std::vector<RootEntry> root = ListRoot(drive, &bDiskOrder);
    MarkOwnCopies(drive, &root);
    const UpdatePlan plan = PlanUpdate(rows, bPrefix, root, false);
    std::set<std::wstring, FileNameLess> files;
    for (const RootEntry& entry : root)
        if (!entry.bFolder)
            files.insert(AnsiToWide(entry.name));
    std::vector<ToCheck> toCheck;
    CCopyNames named(static_cast<UINT>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        // The name a copy of the row is given, not the plan's: where a changed copy holds it,
        // the plan would give the row another.
        const CString name = named.Name(static_cast<UINT>(r), rows[r].fileName, bPrefix);
        if (!rows[r].source.bExists || named.Filled(name))
            continue;
        named.Fill(name);
        const CString& held = plan.held[r];
        if (!held.IsEmpty() && FileNameKey(AnsiToWide(held)) != FileNameKey(AnsiToWide(name)))
            check.elsewhere.push_back(held);
        // A file under the row's name that is no longer recognised as its copy, since it
        // changed, is still compared: it is the copy the user finds there.
        else if (!held.IsEmpty() || files.count(AnsiToWide(name)))
            toCheck.push_back({r, name});
        else
            check.missing.push_back(name);
    }
    check.nToCheck = static_cast<UINT>(toCheck.size());
    if (toCheck.empty())
        return check;
    CCopyCheck reader(drive);
    const CCopyCheck::StopWanted stopWanted = [&observer] { return observer.StopWanted(); };
    std::vector<char> piece;
    for (const ToCheck& copy : toCheck) {
        const CopyRow& row = rows[copy.nRow];
        if (observer.StopWanted()) {
            check.bStopped = true;
            break;
        }
        observer.CheckBegun(row.fileName, check.nChecked + 1, check.nToCheck);
        FileDigest source;
        const SourceRead read = ReadDigest(row.path, stopWanted, &piece, &source);
        const CheckResult result =
            read == SourceRead::kRead ? reader.Check(JoinPath(drive, copy.name), source, stopWanted)
            : read == SourceRead::kStopped ? CheckResult::kStopped
                                           : CheckResult::kEqual;
        if (result == CheckResult::kStopped) {
            check.bStopped = true;
            break;
        }
        ++check.nChecked;
        if (read == SourceRead::kUnreadable)
            continue;
        if (result == CheckResult::kEqual)
            ++check.nMatching;
        else
            check.different.push_back(copy.name);
    }
    return check;
}

CString DescribeDeviceCheck(const CString& drive, const DeviceCheck& check) {
    const UINT nWrong =
        static_cast<UINT>(check.different.size() + check.missing.size() + check.elsewhere.size());
    const UINT nCopies = check.nMatching + nWrong;
    CString text;
    if (nCopies == 0)
        text.Format("No copy on %s was checked: the files of the list cannot be read.",
                    static_cast<LPCSTR>(drive));
    else if (nWrong == 0 && nCopies == 1)
        text.Format("The copy on %s matches its file.", static_cast<LPCSTR>(drive));
    else if (nWrong == 0)
        text.Format("All %u copies on %s match their files.", nCopies, static_cast<LPCSTR>(drive));
    else if (nCopies == 1)
        text.Format("%s holds no matching copy of this file.", static_cast<LPCSTR>(drive));
    else
        text.Format("%s holds matching copies of %u of these %u files.", static_cast<LPCSTR>(drive),
                    check.nMatching, nCopies);
    const struct {
        const char* lpszLabel;
        const std::vector<CString>& names;
    } kinds[] = {{"Different", check.different},
                 {"Missing", check.missing},
                 {"Under another name", check.elsewhere}};
    for (const auto& kind : kinds)
        if (!kind.names.empty())
            text += CString("\n") + kind.lpszLabel + ": " + ListOfNames(kind.names, 5) + ".";
    return text;
}
