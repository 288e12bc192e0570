#include "copy/DriveFiles.h"

#include "copy/DiskDirectory.h"

#include <algorithm>
#include <map>
#include <unordered_map>

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
    // Wide, since a long name in UTF-8 takes more bytes than the 8-bit record holds.
    WIN32_FIND_DATAW found;
    const CFindHandle hFind(::FindFirstFileW(AnsiToWide(JoinPath(drive, "*")).c_str(), &found));
    if (hFind.IsNull()) {
        *pDiskOrder = false;
        return entries;
    }
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
    *pDiskOrder = SortByDiskOrder(CDiskDirectory(drive), &entries);
    return entries;
}

bool SortByDiskOrder(const CDiskDirectory& disk, std::vector<RootEntry>* pEntries) {
    std::unordered_map<std::wstring, size_t> listed;  // key of each entry's name -> the entry
    std::vector<bool> lengths;  // of the keys: a name of another length is none of them
    for (size_t i = 0; i < pEntries->size(); ++i) {
        const std::wstring key = FileNameKey(AnsiToWide((*pEntries)[i].name));
        lengths.resize(std::max(lengths.size(), key.size() + 1));
        lengths[key.size()] = true;
        listed.emplace(key, i);
    }
    // What the disk does not show (written since, by a cache) goes last, as listed.
    const size_t kNotOnDisk = ~size_t(0);
    std::vector<size_t> places(pEntries->size(), kNotOnDisk);
    size_t nOnDisk = 0;
    std::wstring key;  // of the name the disk gives, made in one buffer for all
    const bool bRead = disk.RootOrder([&](const wchar_t* pName, size_t nLength) {
        auto found = listed.end();
        if (nLength < lengths.size() && lengths[nLength]) {
            FileNameKey(pName, nLength, &key);
            found = listed.find(key);
        }
        if (found != listed.end() && places[found->second] == kNotOnDisk)
            places[found->second] = nOnDisk;
        ++nOnDisk;
    });
    if (!bRead)
        return false;
    std::vector<std::pair<size_t, size_t>> ranks;  // place on the disk, place in the listing
    for (size_t i = 0; i < pEntries->size(); ++i)
        ranks.emplace_back(places[i], i);
    std::sort(ranks.begin(), ranks.end());
    std::vector<RootEntry> sorted;
    for (const auto& rank : ranks)
        sorted.push_back((*pEntries)[rank.second]);
    pEntries->swap(sorted);
    return true;
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
    if (bReplace)
        ClearReadOnly(JoinPath(folder, to));
    return ::MoveFileExA(JoinPath(folder, from), JoinPath(folder, to),
                         bReplace ? MOVEFILE_REPLACE_EXISTING : 0);
}

BOOL RemoveFile(const CString& path) {
    if (::DeleteFileA(path))
        return TRUE;
    return ::GetLastError() == ERROR_ACCESS_DENIED &&
           ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) && ::DeleteFileA(path);
}

void ClearReadOnly(const CString& path) {
    const DWORD dwAttributes = ::GetFileAttributesA(path);
    const DWORD dwRest = dwAttributes & ~FILE_ATTRIBUTE_READONLY;
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && dwRest != dwAttributes)
        ::SetFileAttributesA(path, dwRest ? dwRest : FILE_ATTRIBUTE_NORMAL);
}

void SetFileDates(const CString& path, const FILETIME& accessed, const FILETIME& written) {
    const CHandle hFile(::CreateFileA(path, FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    if (!hFile.IsNull())
        ::SetFileTime(hFile, nullptr, &accessed, &written);
}
