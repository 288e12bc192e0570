#include "playlist/DroppedFiles.h"

#include "playlist/M3uPlaylist.h"
#include "playlist/MediaFiles.h"

#include <algorithm>

namespace {

// Deep enough for any music collection; a bound all the same against cycles through links.
const int kMaxFolderDepth = 32;

// A drive's root already ends with its separator.
std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    return folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

void ImportFolder(const std::wstring& folder, int nDepth, ImportResult* pResult) {
    struct Item {
        std::wstring name;
        bool bFolder;
    };
    std::vector<Item> items;
    WIN32_FIND_DATAW found;
    HANDLE hFind = ::FindFirstFileW(Join(folder, L"*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        // Linked folders are passed over: they may lead back up the tree.
        bool bFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (bFolder && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        if (bFolder || IsMediaFileName(name))
            items.push_back({name, bFolder});
    } while (::FindNextFileW(hFind, &found));
    ::FindClose(hFind);

    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return ::lstrcmpiW(a.name.c_str(), b.name.c_str()) < 0;
    });
    for (const Item& item : items) {
        std::wstring path = Join(folder, item.name);
        if (!item.bFolder)
            AddExistingFile(path, pResult);
        else if (nDepth < kMaxFolderDepth)
            ImportFolder(path, nDepth + 1, pResult);
    }
}

}  // namespace

std::vector<std::wstring> DroppedPaths(HDROP hDrop) {
    std::vector<std::wstring> paths;
    UINT nCount = ::DragQueryFileW(hDrop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nCount; ++i) {
        UINT nLength = ::DragQueryFileW(hDrop, i, nullptr, 0);
        std::wstring path(nLength + 1, L'\0');
        path.resize(::DragQueryFileW(hDrop, i, &path[0], nLength + 1));
        paths.push_back(path);
    }
    return paths;
}

void ImportDroppedPaths(const std::vector<std::wstring>& dropped, ImportResult* pResult) {
    for (std::wstring path : dropped) {
        while (path.size() > 3 && path.back() == L'\\')
            path.pop_back();
        DWORD dwAttributes = ::GetFileAttributesW(path.c_str());
        if (dwAttributes == INVALID_FILE_ATTRIBUTES)
            pResult->Skip(SkipReason::kNotFound);
        else if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ImportFolder(path, 0, pResult);
        else if (IsPlaylistFileName(path))
            ReadM3uPlaylist(path, pResult);
        else
            AddExistingFile(path, pResult);
    }
}
