#include "copy/RootInOrder.h"

#include "copy/CopyNames.h"
#include "copy/GapFillers.h"
#include "framework/KernelHandle.h"

#include <unordered_map>

// Hidden, and in the family of the program's own names on the drive, beside the staging folder.
const char kOrderFolder[] = "~ovelo.order";

namespace {
const char kStillOutOfOrder[] =
    "The files on %s still do not stand on the disk in the order of the list. To put them in "
    "order, use Format Device, then Copy Files: a freshly formatted drive has no gaps.";
const char kLeftText[] =
    "%u %s could not be moved back into the root folder of %s and %s in its folder %s: %s.";
const char kQuestion[] =
    "The files on %s do not stand on the disk in the order of the list, and players that play "
    "files in the order they were written will play them in another order. Put them in order "
    "now? This moves %u %s on %s and copies none.";

// Never over a file of the name: a copy is not lost to another.
bool Move(const std::wstring& from, const std::wstring& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(), 0) != FALSE;
}

std::wstring PathOf(const CString& folder, const std::wstring& name) {
    return AnsiToWide(folder) + L"\\" + name;
}

// Some drivers date a file anew when it moves to another folder: a copy gets its date back, or
// an update would no longer know it for the copy it is. Opened only where the date changed.
void KeepDate(const CString& path, const WIN32_FILE_ATTRIBUTE_DATA& before) {
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (::GetFileAttributesExA(path, GetFileExInfoStandard, &now) &&
        ::CompareFileTime(&now.ftLastWriteTime, &before.ftLastWriteTime) != 0)
        SetFileDates(path, before.ftLastAccessTime, before.ftLastWriteTime);
}

// Made anew, or the one an earlier stop left, hidden as the program's own.
bool MakeOrderFolder(const CString& folder) {
    if (!::CreateDirectoryA(folder, nullptr)) {
        const DWORD dwAttributes = ::GetFileAttributesA(folder);
        if (dwAttributes == INVALID_FILE_ATTRIBUTES || !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
    }
    ::SetFileAttributesA(folder, FILE_ATTRIBUTE_HIDDEN);
    return true;
}

// Moves names from the order folder back into the root, one after another, each into the first
// gap that fits; those that cannot come back go to *pLeft. The folder is removed once empty;
// what stays in it is shown, so that the user can find it.
void MoveBack(const CString& drive, const std::vector<std::wstring>& names,
              std::vector<CString>* pLeft,
              const std::function<void(const CString&)>& moved = nullptr) {
    const CString folder = JoinPath(drive, kOrderFolder);
    for (const std::wstring& name : names) {
        CString spelled;
        WideToAnsi(name, &spelled);
        if (!Move(PathOf(folder, name), PathOf(drive, name)))
            pLeft->push_back(spelled);
        if (moved)
            moved(spelled);
    }
    if (!::RemoveDirectoryA(folder))
        ::SetFileAttributesA(folder, FILE_ATTRIBUTE_NORMAL);
}
}  // namespace

std::vector<CString> CopiesToPutInOrder(const std::vector<RootEntry>& root,
                                        const std::vector<CString>& names) {
    std::unordered_map<std::wstring, const RootEntry*> files;
    for (const RootEntry& entry : root)
        if (!entry.bFolder && entry.bSpelled)
            files.emplace(FileNameKey(AnsiToWide(entry.name)), &entry);
    std::vector<CString> copies;
    for (const CString& name : names) {
        auto file = files.find(FileNameKey(AnsiToWide(name)));
        if (file == files.end() || !file->second)
            continue;
        copies.push_back(file->second->name);
        file->second = nullptr;  // two rows of one name have one copy
    }
    return copies;
}

CString AskToPutInOrder(const CString& drive, size_t nMoves) {
    CString text;
    text.Format(kQuestion, static_cast<LPCSTR>(drive), static_cast<unsigned>(nMoves),
                nMoves == 1 ? "file" : "files", static_cast<LPCSTR>(drive));
    return text;
}

CString SayStillOutOfOrder(const CString& drive) {
    CString text;
    text.Format(kStillOutOfOrder, static_cast<LPCSTR>(drive));
    return text;
}

CString DescribeLeftInOrderFolder(const CString& drive, const std::vector<CString>& left) {
    const bool bOne = left.size() == 1;
    CString text;
    text.Format(kLeftText, static_cast<unsigned>(left.size()), bOne ? "copy" : "copies",
                static_cast<LPCSTR>(drive), bOne ? "is" : "are", kOrderFolder,
                static_cast<LPCSTR>(ListOfNames(left, 5)));
    return text;
}

OrderOutcome PutInOrder(const CString& drive, const std::vector<CString>& copies, bool bFillGaps,
                        const OrderProgress& progress) {
    OrderOutcome outcome;
    const CString folder = JoinPath(drive, kOrderFolder);
    outcome.left = BringBackFromOrderFolder(drive);
    if (!outcome.left.empty() || !MakeOrderFolder(folder)) {
        outcome.result = OrderResult::kFailed;
        return outcome;
    }
    const UINT nMoves = static_cast<UINT>(2 * copies.size());
    UINT nMove = 0;
    std::vector<std::wstring> out;  // the copies in the folder, in list order
    std::unordered_map<std::wstring, WIN32_FILE_ATTRIBUTE_DATA> dates;  // theirs, by name
    for (const CString& copy : copies) {
        const std::wstring name = AnsiToWide(copy);
        WIN32_FILE_ATTRIBUTE_DATA& date = dates[name];
        if (!::GetFileAttributesExW(PathOf(drive, name).c_str(), GetFileExInfoStandard, &date) ||
            !Move(PathOf(drive, name), PathOf(folder, name))) {
            // One that went since the root was listed has no place to keep.
            if (::GetLastError() == ERROR_FILE_NOT_FOUND)
                continue;
            outcome.result = OrderResult::kFailed;
            break;
        }
        out.push_back(name);
        if (progress && !progress(copy, ++nMove, nMoves) && out.size() < copies.size()) {
            outcome.result = OrderResult::kStopped;
            break;
        }
    }
    CGapFillers fillers(drive);
    if (bFillGaps && outcome.result == OrderResult::kDone)
        fillers.Fill();
    auto keepDate = [&](const CString& copy) {
        KeepDate(JoinPath(drive, copy), dates[AnsiToWide(copy)]);
    };
    // In list order, as far as the gaps allow; told of, but not stopped.
    MoveBack(drive, out, &outcome.left, [&](const CString& copy) {
        keepDate(copy);
        if (progress)
            progress(copy, ++nMove, nMoves);
    });
    // A root that took the fillers may have no room left for every copy: those come back into
    // the gaps the fillers leave.
    fillers.Remove();
    if (!outcome.left.empty()) {
        std::vector<std::wstring> left;
        for (const CString& copy : outcome.left)
            left.push_back(AnsiToWide(copy));
        outcome.left.clear();
        MoveBack(drive, left, &outcome.left, keepDate);
    }
    return outcome;
}

std::vector<CString> BringBackFromOrderFolder(const CString& drive) {
    RemoveLeftFillers(drive);
    const CString folder = JoinPath(drive, kOrderFolder);
    std::vector<std::wstring> names;
    {
        WIN32_FIND_DATAW found;
        const CFindHandle hFind(::FindFirstFileW(PathOf(folder, L"*").c_str(), &found));
        if (hFind.IsNull())
            return {};
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (::FindNextFileW(hFind, &found));
    }
    std::vector<CString> left;
    MoveBack(drive, names, &left);
    return left;
}
