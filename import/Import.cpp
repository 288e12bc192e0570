#include "import/Import.h"

#include "framework/KernelHandle.h"
#include "import/MediaFiles.h"
#include "import/PlaylistEntry.h"
#include "import/PlaylistFile.h"

#include <shlwapi.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

// Deep enough for any music collection; a bound all the same against cycles through links.
const int kMaxFolderDepth = 32;

// The question names this many computers and counts the others: a playlist may name
// thousands, and a question is read, not scrolled.
const size_t kComputersNamed = 3;

// Only media files become a playlist's rows, by the test a dropped folder's files pass: a
// row's double-click opens its file, and a program or a shortcut that a stranger's playlist
// named would run. Playlists inside it are read in their place.
bool IsWantedEntry(const std::wstring& path) {
    return IsMediaFileName(path) || IsPlaylistFileName(path);
}

// Errors that say a computer did not answer at all, rather than that it has no such file.
bool IsComputerUnreachable(DWORD dwError) {
    switch (dwError) {
    case ERROR_BAD_NETPATH:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_HOST_UNREACHABLE:
    case ERROR_REM_NOT_LIST:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETNAME_DELETED:
    case ERROR_SEM_TIMEOUT:
    case ERROR_NO_NETWORK:
    case ERROR_NO_NET_OR_BAD_PATH:
        return true;
    default:
        return false;
    }
}

class CImporter {
public:
    explicit CImporter(const ImportContext& context) : m_context(context) {}

    ImportResult& Result() { return m_result; }

    void AddChosen(const std::wstring& path) {
        CString ansi;
        WideToAnsi(path, &ansi);  // it came from the dialog's own 8-bit text
        m_result.paths.push_back(ansi);
    }

    void AddDropped(std::wstring path) {
        while (path.size() > 3 && path.back() == L'\\')
            path.pop_back();
        const DWORD dwAttributes = ::GetFileAttributesW(path.c_str());
        if (dwAttributes == INVALID_FILE_ATTRIBUTES)
            m_result.Skip(SkipReason::kNotFound);
        else if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)
            AddFolder(path, 0);
        else if (IsPlaylistFileName(path))
            ReadPlaylist(FullPath(path));
        else if (IsProgramFileName(path))
            m_result.Skip(SkipReason::kNotMediaFile);
        else
            AddExistingFile(path, &m_result);
    }

    // Reads a playlist in the place of the entry that names it; path is full.
    void ReadPlaylist(const std::wstring& path) {
        // A file is known by its long name: under its short one it would be read again. Every
        // short name that the system makes holds a '~'; asking for the long name of each path
        // would cost a lookup per folder of it for every entry that names a playlist.
        const std::wstring key = path.find(L'~') == std::wstring::npos ? path : LongPath(path);
        if (std::any_of(m_chain.begin(), m_chain.end(),
                        [&](const std::wstring& reading) { return SameFileName(reading, key); })) {
            m_result.Skip(SkipReason::kPlaylistLoop);
            return;
        }
        // Each playlist is read once in an open. Named again, it is one entry of the playlist
        // naming it, as any line is, and brings the rows of that reading once more, each a row
        // toward the cap; what that reading left out was counted then and is not counted again.
        const auto read = m_rowsOf.find(key);
        if (read != m_rowsOf.end()) {
            AddRowsAgain(read->second);
            return;
        }
        if (m_chain.size() > static_cast<size_t>(kMaxPlaylistDepth)) {
            m_result.Skip(SkipReason::kNestedTooDeep);
            return;
        }
        const size_t nFirstRow = m_result.paths.size();
        std::vector<PlaylistEntry> entries;
        if (ReadEntries(path, &entries)) {
            const std::wstring ownComputer = ComputerOfPath(path);
            AskAboutComputers(entries, ownComputer);
            m_chain.push_back(key);
            for (const PlaylistEntry& entry : entries) {
                if (entry.kind == PlaylistEntry::Kind::kWebAddress)
                    m_result.Skip(SkipReason::kWebAddress);
                else if (entry.kind == PlaylistEntry::Kind::kInvalid)
                    m_result.Skip(SkipReason::kInvalidText);
                else
                    AddEntry(entry.path, ownComputer);
            }
            m_chain.pop_back();
        }
        m_rowsOf[key] = {nFirstRow, m_result.paths.size()};
    }

private:
    // The rows that reading one playlist added, with those of the playlists inside it: they
    // stand together in the result.
    struct RowRange {
        size_t nFirst;
        size_t nEnd;
    };

    void AddRowsAgain(const RowRange& rows) {
        for (size_t i = rows.nFirst; i < rows.nEnd; ++i) {
            if (m_result.Full()) {
                m_result.Skip(SkipReason::kOverLimit, static_cast<unsigned>(rows.nEnd - i));
                return;
            }
            const CString row = m_result.paths[i];  // a copy: the vector may move as it grows
            m_result.paths.push_back(row);
        }
    }

    void AddFolder(const std::wstring& folder, int nDepth) {
        // Once the list is full a folder is not walked but counted as one entry past the
        // limit: its files could only be counted, and a home folder walked to its end would
        // hold the window for minutes.
        if (m_result.Full()) {
            m_result.Skip(SkipReason::kOverLimit);
            return;
        }
        struct Item {
            std::wstring name;
            bool bFolder;
        };
        std::vector<Item> items;
        WIN32_FIND_DATAW found;
        const CFindHandle hFind(::FindFirstFileW(JoinPath(folder, L"*").c_str(), &found));
        if (hFind.IsNull())
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

        // As Explorer shows a folder sorted by name: its subfolders first, then its files,
        // each by name with digits compared as numbers (Track 2 before Track 10). Stable, so
        // that names it takes for equal keep the listing's order.
        std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
            if (a.bFolder != b.bFolder)
                return a.bFolder;
            return ::StrCmpLogicalW(a.name.c_str(), b.name.c_str()) < 0;
        });
        for (const Item& item : items) {
            std::wstring path = JoinPath(folder, item.name);
            if (!item.bFolder)
                AddExistingFile(path, &m_result);
            else if (nDepth < kMaxFolderDepth)
                AddFolder(path, nDepth + 1);
        }
    }

    // The playlist's entries, all of them before any is looked up, so that one question can
    // name every other computer they lie on. False when the file cannot be opened.
    bool ReadEntries(const std::wstring& path, std::vector<PlaylistEntry>* pEntries) {
        CString ansiPath;
        WideToAnsi(path, &ansiPath);  // for the message only
        const CHandle hFile(::CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (hFile.IsNull()) {
            m_result.unreadable.push_back("Cannot read " + ansiPath + ": " +
                                          SystemErrorText(::GetLastError()));
            return false;
        }
        const PlaylistReading reading = ReadPlaylistFile(
            hFile, path, m_context.nLegacyCodePage, [&](EntryText kind, const std::wstring& text) {
                if (kind == EntryText::kTooLong)
                    m_result.Skip(SkipReason::kTooLong);
                else if (kind == EntryText::kInvalid)
                    m_result.Skip(SkipReason::kInvalidText);
                else if (kind == EntryText::kPastLimit || m_nEntriesRead >= kMaxImportEntries)
                    m_result.Skip(SkipReason::kOverLimit);
                else {
                    ++m_nEntriesRead;
                    pEntries->push_back(kind == EntryText::kPath ? ParseEntry(text, path)
                                                                 : ParseReference(text, path));
                }
            });
        if (!reading.bPlaylist)
            m_result.Skip(SkipReason::kNotAPlaylist);
        if (!reading.fault.IsEmpty())
            m_result.unreadable.push_back("Could not read all of " + ansiPath + ": " +
                                          reading.fault);
        return true;
    }

    // Looking a file up on another computer sends it the user's sign-in, and one that does not
    // answer makes every lookup wait: the user is asked first, once for all the computers of
    // a playlist that no earlier question named. Its own computer needs no question.
    void AskAboutComputers(const std::vector<PlaylistEntry>& entries,
                           const std::wstring& ownComputer) {
        std::vector<std::wstring> computers;
        std::set<std::wstring, FileNameLess> named;
        for (const PlaylistEntry& entry : entries) {
            if (entry.kind != PlaylistEntry::Kind::kPath || !IsWantedEntry(entry.path))
                continue;
            std::wstring computer = ComputerOfPath(entry.path);
            if (!computer.empty() && !SameFileName(computer, ownComputer) &&
                !m_lookThere.count(computer) && !m_unreachable.count(computer) &&
                named.insert(computer).second)
                computers.push_back(computer);
        }
        if (computers.empty())
            return;
        CString names;
        for (size_t i = 0; i < computers.size() && i < kComputersNamed; ++i) {
            CString name;
            WideToAnsi(computers[i], &name);
            names += (i == 0 ? "" : ", ") + name;
        }
        if (computers.size() > kComputersNamed) {
            CString more;
            more.Format(" and %u more", static_cast<unsigned>(computers.size() - kComputersNamed));
            names += more;
        }
        const bool bYes = m_context.ask &&
                          m_context.ask("This playlist names files on other computers: " + names +
                                        ". Look for them there?");
        for (const std::wstring& computer : computers)
            m_lookThere[computer] = bYes;
    }

    void AddEntry(const std::wstring& path, const std::wstring& ownComputer) {
        if (m_result.Full()) {
            m_result.Skip(SkipReason::kOverLimit);
            return;
        }
        if (IsDevicePath(path)) {
            m_result.Skip(SkipReason::kNotAFile);
            return;
        }
        if (!IsWantedEntry(path)) {
            m_result.Skip(SkipReason::kNotMediaFile);
            return;
        }
        const std::wstring computer = ComputerOfPath(path);
        if (!computer.empty()) {
            if (m_unreachable.count(computer)) {
                m_result.Skip(SkipReason::kUnreachable);
                return;
            }
            auto answer = m_lookThere.find(computer);
            if (!SameFileName(computer, ownComputer) &&
                (answer == m_lookThere.end() || !answer->second)) {
                m_result.Skip(SkipReason::kOtherComputer);
                return;
            }
        }
        const DWORD dwAttributes = m_context.pfnGetAttributes(path.c_str());
        if (dwAttributes == INVALID_FILE_ATTRIBUTES) {
            if (!computer.empty() && IsComputerUnreachable(::GetLastError())) {
                m_unreachable.insert(computer);
                m_result.Skip(SkipReason::kUnreachable);
            } else {
                m_result.Skip(SkipReason::kNotFound);
            }
        } else if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            m_result.Skip(SkipReason::kNotAFile);
        } else if (IsPlaylistFileName(path)) {
            ReadPlaylist(path);
        } else {
            AddExistingFile(path, &m_result);
        }
    }

    const ImportContext& m_context;
    ImportResult m_result;
    std::vector<std::wstring> m_chain;  // the playlists being read, the outermost first
    std::map<std::wstring, bool, FileNameLess> m_lookThere;   // each computer asked about: Yes?
    std::set<std::wstring, FileNameLess> m_unreachable;       // computers that did not answer
    std::map<std::wstring, RowRange, FileNameLess> m_rowsOf;  // each playlist read, its rows
    // Entries read from every playlist of the open together: they are what reading and looking
    // up cost, and what the playlists being read keep while they wait for the inner ones.
    size_t m_nEntriesRead = 0;
};

// While it lives, a drive without a disk (a card reader's empty slot, A:) fails a lookup
// at once rather than bringing up the system's box about it for every entry on it.
class CNoDiskBoxes {
public:
    CNoDiskBoxes() {
        ::SetThreadErrorMode(::GetThreadErrorMode() | SEM_FAILCRITICALERRORS, &m_dwOld);
    }
    ~CNoDiskBoxes() { ::SetThreadErrorMode(m_dwOld, nullptr); }
    CNoDiskBoxes(const CNoDiskBoxes&) = delete;
    CNoDiskBoxes& operator=(const CNoDiskBoxes&) = delete;

private:
    DWORD m_dwOld = 0;
};

}  // namespace

ImportResult ImportPaths(const std::vector<std::wstring>& paths, PathSource source,
                         const ImportContext& context) {
    const CNoDiskBoxes noDiskBoxes;
    CImporter importer(context);
    for (const std::wstring& path : paths) {
        if (source == PathSource::kChosen)
            importer.AddChosen(path);
        else if (source == PathSource::kDropped)
            importer.AddDropped(path);
        else
            importer.ReadPlaylist(FullPath(path));
    }
    return std::move(importer.Result());
}
