#include "copy/DriveFiles.h"

#include "copy/DiskDirectory.h"

#include <algorithm>
#include <map>

namespace {
ULONGLONG Join(DWORD dwHigh, DWORD dwLow) { return (static_cast<ULONGLONG>(dwHigh) << 32) | dwLow; }

// The facts of what the system says of a file (or folder, which has none).
template <class Record> FileFacts FactsOf(const Record& record) {
    FileFacts facts;
    facts.bExists = !(record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    facts.nBytes = Join(record.nFileSizeHigh, record.nFileSizeLow);
    facts.nWriteTime =
        Join(record.ftLastWriteTime.dwHighDateTime, record.ftLastWriteTime.dwLowDateTime);
    return facts;
}
}  // namespace

FileFacts ReadFileFacts(LPCSTR lpszPath) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(lpszPath, GetFileExInfoStandard, &data))
        return FileFacts();
    return FactsOf(data);
}

std::vector<RootEntry> ListRoot(const CString& drive, bool* pDiskOrder) {
    std::vector<RootEntry> entries;
    *pDiskOrder = false;
    // Wide, since a long name in UTF-8 takes more bytes than the 8-bit record holds.
    WIN32_FIND_DATAW found;
    const CFindHandle hFind(::FindFirstFileW(AnsiToWide(drive + "\\*").c_str(), &found));
    if (hFind.IsNull())
        return entries;
    do {
        RootEntry entry;
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        entry.bSpelled = WideToAnsi(name, &entry.name);
        entry.bFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.facts = FactsOf(found);
        entries.push_back(entry);
    } while (::FindNextFileW(hFind, &found));

    std::vector<std::wstring> order;
    if (!CDiskDirectory(drive).RootOrder(&order))
        return entries;
    std::map<std::wstring, size_t, FileNameLess> places;
    for (size_t i = 0; i < order.size(); ++i)
        places.emplace(order[i], i);
    // What the disk does not show (written since, by a cache) goes last, as listed.
    std::vector<std::pair<size_t, size_t>> ranks;  // place on the disk, place in the listing
    for (size_t i = 0; i < entries.size(); ++i) {
        auto place = places.find(AnsiToWide(entries[i].name));
        ranks.emplace_back(place == places.end() ? order.size() : place->second, i);
    }
    std::sort(ranks.begin(), ranks.end());
    std::vector<RootEntry> sorted;
    for (const auto& rank : ranks)
        sorted.push_back(entries[rank.second]);
    *pDiskOrder = true;
    return sorted;
}

bool StandsInListOrder(const std::vector<RootEntry>& root, const std::vector<CString>& names) {
    std::map<std::wstring, size_t, FileNameLess> places;
    for (size_t i = 0; i < names.size(); ++i)
        places.emplace(AnsiToWide(names[i]), i);
    size_t nNext = 0;
    for (const RootEntry& entry : root) {
        auto place = places.find(AnsiToWide(entry.name));
        if (place == places.end())
            continue;
        if (place->second < nNext)
            return false;
        nNext = place->second + 1;
    }
    return true;
}

BOOL RenameInFolder(const CString& folder, const CString& from, const CString& to, bool bReplace) {
    return ::MoveFileExA(JoinPath(folder, from), JoinPath(folder, to),
                         bReplace ? MOVEFILE_REPLACE_EXISTING : 0);
}

BOOL RemoveFile(const CString& path) {
    if (::DeleteFileA(path))
        return TRUE;
    return ::GetLastError() == ERROR_ACCESS_DENIED &&
           ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) && ::DeleteFileA(path);
}
