#include "copy/RootInOrder.h"

#include "framework/KernelHandle.h"

#include <unordered_map>

// Hidden, and in the family of the program's own names on the drive, beside the staging folder.
const char kOrderFolder[] = "~ovelo.order";

namespace {
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
              std::vector<CString>* pLeft, const std::function<void()>& moved = nullptr) {
    const CString folder = JoinPath(drive, kOrderFolder);
    for (const std::wstring& name : names) {
        if (!Move(PathOf(folder, name), PathOf(drive, name))) {
            CString spelled;
            WideToAnsi(name, &spelled);
            pLeft->push_back(spelled);
        }
        if (moved)
            moved();
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

OrderOutcome PutInOrder(const CString& drive, const std::vector<CString>& copies,
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
    for (const CString& copy : copies) {
        const std::wstring name = AnsiToWide(copy);
        if (!Move(PathOf(drive, name), PathOf(folder, name))) {
            // One that went since the root was listed has no place to keep.
            if (::GetLastError() == ERROR_FILE_NOT_FOUND)
                continue;
            outcome.result = OrderResult::kFailed;
            break;
        }
        out.push_back(name);
        if (progress && !progress(++nMove, nMoves) && out.size() < copies.size()) {
            outcome.result = OrderResult::kStopped;
            break;
        }
    }
    // In list order, as far as the gaps allow; told of, but not stopped.
    MoveBack(drive, out, &outcome.left, [&] {
        if (progress)
            progress(++nMove, nMoves);
    });
    return outcome;
}

std::vector<CString> BringBackFromOrderFolder(const CString& drive) {
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
