// The copy of a long list under faults: each failed file is counted, every other file
// arrives byte for byte, nothing half-written is left, a file already on the device is
// never lost to a failed copy, and the window still answers afterwards.
#include "copy/CopyRecord.h"
#include "tests/copy/CopyFixture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

namespace {

using namespace copytest;
// Path under the drive -> size and hash of the content: a failure shows what differs.
using Files = std::map<std::string, std::string>;

std::string Fingerprint(const std::string& content) {
    return std::to_string(content.size()) + " bytes #" +
           std::to_string(std::hash<std::string>()(content) % 1000000);
}

// Calls visit(path, bFolder) for everything under folder, a folder after its contents.
void Walk(const std::string& folder, const std::function<void(const std::string&, bool)>& visit) {
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore;
         bMore = ::FindNextFileA(hFind, &found)) {
        const std::string name = found.cFileName, path = folder + "\\" + name;
        const bool bFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if ((bFolder && (name == "." || name == "..")) ||
            test::TempFolder::IsVolumeLabel(folder, found))
            continue;
        if (bFolder)
            Walk(path, visit);
        visit(path, bFolder);
    }
    if (hFind != INVALID_HANDLE_VALUE)
        ::FindClose(hFind);
}

void RemoveTree(const std::string& folder) {
    Walk(folder, [](const std::string& path, bool bFolder) {
        if (bFolder) {
            ::RemoveDirectoryA(path.c_str());
        } else {
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(path.c_str());
        }
    });
}

// Takes a drive away from Wine, or gives it back, by moving its link in the prefix's
// dosdevices on the host: the folder behind it may be a mount point, which cannot be moved.
// Wine cannot wait for a host process, so this waits for the drive's root instead.
bool MoveDriveLink(char cDrive, bool bAway) {
    char prefix[MAX_PATH] = "";
    ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix));
    const std::string link = std::string(prefix) + "/dosdevices/" + char(cDrive | 0x20) + ":",
                      moved = std::string(prefix) + "/unplugged-" + char(cDrive | 0x20) + ":";
    std::string command = "mv " + (bAway ? link + " " + moved : moved + " " + link);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION mv = {};
    if (!::CreateProcessA("Z:\\bin\\mv", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &mv))
        return false;
    ::CloseHandle(mv.hThread);
    ::CloseHandle(mv.hProcess);
    const std::string root = std::string(1, cDrive) + ":\\";
    return test::PumpUntil(
        [&] { return (::GetFileAttributesA(root.c_str()) == INVALID_FILE_ATTRIBUTES) == bAway; });
}

// Some drivers refuse names beyond ASCII on a drive (fusefat answers ERROR_ACCESS_DENIED).
const char kNoNamesBeyondAscii[] =
    "E:'s driver refuses names beyond ASCII, and a rename it refuses loses the file";
bool TakesNamesBeyondAscii(const std::string& drive) {
    const std::string probe = drive + "\\Caf\xC3\xA9.probe";
    if (!test::TempFolder::WriteFile(probe, "", 0))
        return false;
    ::DeleteFileA(probe.c_str());
    return true;
}

// The FAT volumes here are served by a driver that looks through a folder for every entry
// it adds: a thousand new files in a root take it ten minutes.
bool AddsRootEntriesSlowly(const std::string& drive) {
    char fileSystem[MAX_PATH] = "";
    return ::GetVolumeInformationA((drive + "\\").c_str(), nullptr, 0, nullptr, nullptr, nullptr,
                                   fileSystem, MAX_PATH) &&
           std::strncmp(fileSystem, "FAT", 3) == 0;
}

// Opens path without sharing and hands the handle to a suspended child process, which holds
// it until it is ended. Returns the child, or nullptr.
HANDLE HoldInAnotherProcess(const std::string& path) {
    char cmd[MAX_PATH];
    ::GetSystemDirectoryA(cmd, MAX_PATH);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION child = {};
    if (!::CreateProcessA((std::string(cmd) + "\\cmd.exe").c_str(), nullptr, nullptr, nullptr,
                          FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &si,
                          &child))
        return nullptr;
    ::CloseHandle(child.hThread);
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE hHeld = nullptr;
    if (hFile != INVALID_HANDLE_VALUE &&
        ::DuplicateHandle(::GetCurrentProcess(), hFile, child.hProcess, &hHeld, 0, FALSE,
                          DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE))
        return child.hProcess;
    ::TerminateProcess(child.hProcess, 0);
    ::CloseHandle(child.hProcess);
    return nullptr;
}

bool SameBytes(const std::string& pathA, const std::string& pathB) {
    HANDLE h[2];
    for (int i = 0; i < 2; ++i)
        h[i] = ::CreateFileA((i ? pathB : pathA).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    bool bSame = h[0] != INVALID_HANDLE_VALUE && h[1] != INVALID_HANDLE_VALUE;
    std::vector<char> a(1 << 20), b(1 << 20);
    for (DWORD nA = 1, nB = 0; bSame && nA > 0;)
        bSame = ::ReadFile(h[0], a.data(), 1 << 20, &nA, nullptr) &&
                ::ReadFile(h[1], b.data(), 1 << 20, &nB, nullptr) && nA == nB &&
                std::equal(a.begin(), a.begin() + nA, b.begin());
    ::CloseHandle(h[0]);
    ::CloseHandle(h[1]);
    return bSame;
}

class CopyFaults : public Copy {
protected:
    void TearDown() override {
        RemoveTree(drive);
        Copy::TearDown();
    }

    struct Row {
        std::string name, path, content;
    };
    std::string drive = "E:";
    std::vector<Row> rows;
    Files onDevice;  // put on the drive before the run

    void AddRow(const std::string& name, const std::string& content) {
        rows.push_back({name, sources.CreateFile(name, content), content});
    }
    void Put(const std::string& path, const std::string& content) {
        test::TempFolder::WriteFile(drive + "\\" + path, content.data(), content.size());
        onDevice[path] = Fingerprint(content);
    }
    // Copies the rows; strike runs once the given step shows, before its file is copied.
    // Then checks the run against the rows (from 1) that must fail, and the bar's last text
    // when it is not the usual one ("" for none).
    // A drive taken away during the run gets no record (bRecorded).
    void RunAndCheck(const std::set<int>& failed, bool bPrefix, int nStep = 0,
                     const std::function<void()>& strike = nullptr,
                     const std::function<void()>& after = nullptr, const char* ends = nullptr,
                     bool bRecorded = true) {
        std::vector<CString> paths;  // each row is named after its file
        for (const Row& row : rows)
            paths.emplace_back(row.path.c_str());
        dlg.AppendEntries(paths);
        dlg.m_driveCombo.SetCurSel(dlg.m_driveCombo.FindStringExact(-1, drive.c_str()));
        dlg.m_addPrefixCheck.SetCheck(bPrefix ? BST_CHECKED : BST_UNCHECKED);
        ::SetForegroundWindow(dlg);
        int nSteps = 0;
        ProgressLog log = RunCopy([&] {
            if (++nSteps == nStep)
                strike();
        });
        if (after)
            after();

        char summary[64] = "Complete";
        if (!failed.empty())
            wsprintfA(summary, "Complete, %u of %u files failed",
                      static_cast<unsigned>(failed.size()), static_cast<unsigned>(rows.size()));
        EXPECT_EQ(log.LastText(), ends ? ends : summary);
        Files expected = onDevice, found;
        std::set<std::string> copies, recorded;
        // Every prefix as wide as the row count, three digits at least.
        const int nDigits = std::max(3, static_cast<int>(std::to_string(rows.size()).size()));
        for (size_t i = 0; i < rows.size(); ++i) {
            char prefix[16] = "";
            if (bPrefix)
                std::snprintf(prefix, sizeof(prefix), "%0*u_", nDigits, unsigned(i + 1));
            if (!failed.count(static_cast<int>(i + 1))) {
                expected[prefix + rows[i].name] = Fingerprint(rows[i].content);
                copies.insert(prefix + rows[i].name);
            }
        }
        // The drive's record names the copies that arrived, as they are, and nothing else.
        bool bDiskOrder = false;
        std::vector<RootEntry> root = ListRoot(drive.c_str(), &bDiskOrder);
        MarkOwnCopies(drive.c_str(), &root);
        for (const RootEntry& entry : root)
            if (entry.bOwn)
                recorded.insert(static_cast<LPCSTR>(entry.name));
        EXPECT_EQ(recorded, bRecorded ? copies : std::set<std::string>());
        Walk(drive, [&](const std::string& path, bool bFolder) {
            if (!bFolder && path != drive + "\\" + kCopyRecord)
                found[path.substr(drive.size() + 1)] =
                    Fingerprint(test::TempFolder::ReadFile(path));
        });
        EXPECT_EQ(found, expected);
        // No key given during the run is left to act after it, and the window answers.
        MSG msg;
        EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
        dlg.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_CLEAR, BN_CLICKED),
                        reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDC_CLEAR)));
        EXPECT_TRUE(test::PumpUntil([&] { return dlg.m_playlist.GetItemCount() == 0; }));
        test::PumpMessages();
        EXPECT_FALSE(dlg.m_bModalDone) << "the window was closed";
    }
};

// One fault in a run over eight rows, unless it says otherwise; the rows that fail, or are
// not copied, are numbered from 1.
struct Fault {
    Fault(const char* lpszLabel, std::set<int> failedRows)
        : label(lpszLabel), failed(std::move(failedRows)) {}
    Fault& NoPrefix() { return bPrefix = false, *this; }
    Fault& Rows(int n) { return nRows = n, *this; }
    Fault& Ends(const char* lpszText) { return ends = lpszText, *this; }
    // Before the run: may change rows and put files on the drive.
    Fault& Before(std::function<void()> action) { return before = std::move(action), *this; }
    // Strikes once step n shows, before its file is copied.
    Fault& AtStep(int n, std::function<void()> action) {
        return nStep = n, strike = std::move(action), *this;
    }
    // Gives back what the fault took, before the drive is checked.
    Fault& After(std::function<void()> action) { return after = std::move(action), *this; }
    // Left out, and the reason printed, where the drive cannot do what the row needs.
    Fault& OnlyWhere(bool bPossible, const char* lpszWhyNot) {
        return whyNot = bPossible ? nullptr : lpszWhyNot, *this;
    }
    // The drive is away when the run ends: the copies that arrived are not recorded.
    Fault& Unrecorded() { return bRecorded = false, *this; }

    const char* label;
    std::set<int> failed;
    bool bPrefix = true;
    std::function<void()> before, strike, after;
    int nStep = 0, nRows = 8;
    bool bRecorded = true;
    const char* ends = nullptr;  // the bar's last text, when not the usual one
    const char* whyNot = nullptr;
};

void PressEscape() {
    ::keybd_event(VK_ESCAPE, 0, 0, 0);
    ::keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
}

TEST_F(CopyFaults, EachFailureIsCountedAndNothingElseIsLostOrLeftHalfWritten) {
    const std::string longFolder = "C:\\ov";
    const std::string longName = std::string(248, 'n') + ".mp3";
    const std::string longPath = longFolder + "\\" + longName;
    ::CreateDirectoryA(longFolder.c_str(), nullptr);
    HANDLE hHolder = nullptr;
    test::TempFolder others("copy-other");
    // Where new root entries are slow, all but the last rows of a long run name missing
    // sources: the run still numbers with four digits, and a few files arrive.
    std::set<int> failSlowly;
    if (AddsRootEntriesSlowly("E:")) {
        for (int nRow = 1; nRow <= 992; ++nRow)
            failSlowly.insert(nRow);
        std::printf("E: adds root entries slowly: rows 1 to 992 of 1,000 name missing files\n");
    }
    auto rowAt = [this](int nRow) -> Row& { return rows[static_cast<size_t>(nRow - 1)]; };
    const Fault faults[] = {
        Fault("source deleted mid-run", {5})
            .AtStep(2, [&] { ::DeleteFileA(rowAt(5).path.c_str()); }),
        Fault("device folder gone mid-run", {4, 5, 6, 7, 8})
            .Unrecorded()
            .Ends("Complete, 5 of 8 files failed, 3 copies not checked")
            .AtStep(4, [] { ASSERT_TRUE(MoveDriveLink('E', true)); })
            .After([] { ASSERT_TRUE(MoveDriveLink('E', false)); }),
        Fault("destination name is a folder", {3}).Before([&] {
            ::CreateDirectoryA("E:\\003_track3.mp3", nullptr);
            Put("003_track3.mp3\\inside.txt", "kept");
        }),
        // Last, so that no later copy tidies up after it.
        Fault("read-only source whose prefixed name is too long", {8}).Before([&] {
            test::TempFolder::WriteFile(longPath, "long", 4);
            ::SetFileAttributesA(longPath.c_str(), FILE_ATTRIBUTE_READONLY);
            rowAt(8) = {longName, longPath, "long"};
        }),
        Fault("names in any language", {})
            .Before([&] {
                const std::string names[] = {
                    "Caf\xC3\xA9.mp3",
                    "Stra\xC3\x9F"
                    "e.mp3",
                    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\xAD\x8C.mp3",
                    "\xD0\x9F\xD1\x91\xD1\x82\xD1\x80.mp3",
                    "\xCE\x95\xCE\xBB\xCE\xAD\xCE\xBD\xCE\xB7.mp3",
                    "\xF0\x9F\x8E\xB5 night.mp3"};
                for (int i = 0; i < 6; ++i)
                    rowAt(i + 1) = {names[i], sources.CreateFile(names[i], names[i]), names[i]};
            })
            .OnlyWhere(TakesNamesBeyondAscii("E:"), kNoNamesBeyondAscii),
        Fault("source held by another process", {4})
            .NoPrefix()
            .Before([&] {
                Put("track4.mp3", "old");
                hHolder = HoldInAnotherProcess(rowAt(4).path);
                ASSERT_NE(hHolder, nullptr);
            })
            .After([&] {
                ::TerminateProcess(hHolder, 0);
                ::CloseHandle(hHolder);
            }),
        Fault("missing source", {6}).NoPrefix().Before([&] {
            Put("track6.mp3", "old");
            ::DeleteFileA(rowAt(6).path.c_str());
        }),
        Fault("a file where the copy stages its work", {}).Before([&] {
            Put("~ovelo.tmp", "in the way");
        }),
        Fault("one name twice, the second in capitals and from another folder", {6})
            .NoPrefix()
            .Before([&] {
                Put("track2.mp3", "old");
                rowAt(6) = {"TRACK2.MP3", others.CreateFile("TRACK2.MP3", "other"), "other"};
            }),
        Fault("Esc while file 4 is copied, file 2 missing", {2, 5, 6, 7, 8})
            .Before([&] { ::DeleteFileA(rowAt(2).path.c_str()); })
            .AtStep(4, PressEscape)
            .Ends("Stopped, 3 of 8 files copied, 1 failed"),
        // The bar's ninth step is the check of the first copy.
        Fault("Esc during the check: it alone stops, and says how much it left", {})
            .AtStep(9, PressEscape)
            .Ends("Complete, 7 copies not checked"),
        Fault("the window's close posted mid-run, as a window manager does", {})
            .AtStep(3,
                    [&] {
                        dlg.PostMessage(WM_CLOSE);
                        dlg.PostMessage(WM_SYSCOMMAND, SC_CLOSE);
                    }),
        Fault("Esc during a file of 8 MiB: stopped within it, nothing of it left",
              {3, 4, 5, 6, 7, 8})
            .Before([&] {
                rowAt(3).content.assign(8 << 20, 'x');
                test::TempFolder::WriteFile(rowAt(3).path, rowAt(3).content.data(), 8 << 20);
            })
            .AtStep(3, PressEscape)
            .Ends("Stopped, 2 of 8 files copied"),
        Fault("a device named as a file, and a source that grew since the run began", {3, 5})
            .Before([&] {
                rowAt(3) = {"zero.mp3", "Z:\\dev\\zero", ""};
            })
            .AtStep(1,
                    [&] {
                        const std::string grown(5 << 10, 'g');
                        test::TempFolder::WriteFile(rowAt(5).path, grown.data(), grown.size());
                    }),
        Fault("a read-only staging folder holding what cannot be replaced", {}).Before([&] {
            ::CreateDirectoryA("E:\\~ovelo.tmp", nullptr);
            ::CreateDirectoryA("E:\\~ovelo.tmp\\copy.tmp", nullptr);
            ::SetFileAttributesA("E:\\~ovelo.tmp", FILE_ATTRIBUTE_READONLY);
        }),
        // The first length that takes four digits: 1000_ alone would show no width.
        Fault("1,000 rows: four digits", failSlowly).Rows(1000).Before([&] {
            for (int nRow : failSlowly)
                ::DeleteFileA(rowAt(nRow).path.c_str());
        }),
    };
    test::RunModal(dlg, [&] {
        for (const Fault& fault : faults) {
            if (fault.whyNot) {
                std::printf("left out: %s: %s\n", fault.label, fault.whyNot);
                continue;
            }
            SCOPED_TRACE(fault.label);
            RemoveTree("E:");
            onDevice.clear();
            rows.clear();
            for (int i = 1; i <= fault.nRows; ++i)
                AddRow("track" + std::to_string(i) + ".mp3",
                       "content of track " + std::to_string(i) + std::string(i, '.'));
            if (fault.before)
                fault.before();
            RunAndCheck(fault.failed, fault.bPrefix, fault.nStep, fault.strike, fault.after,
                        fault.ends, fault.bRecorded);
        }
    });
    ::SetFileAttributesA(longPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    test::TempFolder::RemoveContents(longFolder);
}

// Just over 2 GiB, so that any 32-bit size or offset on the way would show.
TEST_F(CopyFaults, SparseSourceOverTwoGibibytesArrivesWhole) {
    const LONGLONG nBytes = (1LL << 31) + 4096;
    ULARGE_INTEGER free;
    ::GetDiskFreeSpaceExA("E:\\", &free, nullptr, nullptr);
    if (free.QuadPart < static_cast<ULONGLONG>(nBytes) + (1ULL << 30))
        GTEST_SKIP() << "the disk behind E: has " << (free.QuadPart >> 20)
                     << " MB free; copying a 2 GiB file needs 3 GB";
    // Sparse: a few marks over a hole, the last one across the 2 GiB line.
    std::string bigPath = sources.PathOf("big.mkv");
    HANDLE hBig =
        ::CreateFileA(bigPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(hBig, INVALID_HANDLE_VALUE);
    for (LONGLONG at : {0LL, (1LL << 31) - 3, nBytes - 5}) {
        LARGE_INTEGER offset;
        offset.QuadPart = at;
        ::SetFilePointerEx(hBig, offset, nullptr, FILE_BEGIN);
        ::WriteFile(hBig, "mark!", 5, nullptr, nullptr);
    }
    ::CloseHandle(hBig);
    AddRow("a.mp3", "before");
    rows.push_back({"big.mkv", bigPath, ""});
    AddRow("c.mp3", "after");
    test::RunModal(dlg, [&] {
        for (const Row& row : rows)
            AddSource(row.name, row.path);
        EXPECT_EQ(RunCopy().LastText(), "Complete");
        EXPECT_TRUE(SameBytes(bigPath, "E:\\002_big.mkv"));
        EXPECT_EQ(test::TempFolder::ReadFile("E:\\003_c.mp3"), "after");
    });
}

// On a device of 1 MiB (a tmpfs on G:'s folder), files that do not all fit: the run asks
// first, and no copies nothing. After a yes, a copy that fills the device fails alone: its
// partial copy goes, so the smaller files after it still fit, and the file it would have
// replaced stays. The capacity shown is then the device's.
TEST_F(CopyFaults, DeviceFullMidFileFailsThatFileAlone) {
    char refused[512] = "";
    if (::GetEnvironmentVariableA("OVELO_SMALL_DEVICE_REFUSED", refused, sizeof(refused)) ||
        !::GetEnvironmentVariableA("OVELO_SMALL_DEVICE", nullptr, 0))
        GTEST_SKIP() << "no 1 MiB device: " << (*refused ? refused : "run through ctest");
    drive = "G:";
    const struct {
        const char* name;
        size_t nKiB;
    } files[] = {{"a.mp3", 300}, {"big.avi", 2048}, {"c.mp3", 300}, {"d.mp3", 200}};
    for (const auto& file : files)
        AddRow(file.name, std::string(file.nKiB * 1024, file.name[0]));
    Put("big.avi", std::string(100 * 1024, 'o'));
    std::vector<std::string> asked;
    test::RunModal(dlg, [&] {
        test::AnswerMessageBox(IDNO, &asked);
        RunAndCheck({1, 2, 3, 4}, false, 0, nullptr, nullptr, "");
        test::AnswerMessageBox(IDYES, &asked);
        RunAndCheck({2}, false);
        ULARGE_INTEGER total, totalFree;
        ::GetDiskFreeSpaceExA("G:\\", nullptr, &total, &totalFree);
        EXPECT_EQ(std::string(dlg.m_capacityText.GetWindowText()),
                  std::string(FormatCapacityText(totalFree.QuadPart, total.QuadPart)));
    });
    // 2,848 KiB for the 924 KiB left.
    const std::string question =
        "These files need 2 MB, but G: has 0 MB free. Copy the files that fit?";
    EXPECT_EQ(asked, (std::vector<std::string>{question, question}));
}

}  // namespace
