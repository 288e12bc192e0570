// The copy of a long list under faults: each failed file is counted, every other file
// arrives byte for byte, nothing half-written is left, a file already on the device is
// never lost to a failed copy, and the window still answers afterwards.
#include "tests/copy/CopyFixture.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

namespace {

using namespace copytest;
// Path under the drive -> size and hash of the content: a failure shows what differs.
using Files = std::map<std::string, std::string>;

std::string Fingerprint(const std::string& content) {
    return std::to_string(content.size()) + " bytes #" +
           std::to_string(std::hash<std::string>()(content) % 1000000);
}

// The host folder behind a test drive, reached through Z:.
std::string HostFolderOf(char cDrive) {
    char drives[MAX_PATH] = "";
    ::GetEnvironmentVariableA("OVELO_TEST_DRIVES", drives, sizeof(drives));
    std::string path = std::string("Z:") + drives + "/" + cDrive;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// Every file under folder, in every subfolder, with its content.
void CollectFiles(const std::string& folder, const std::string& prefix, Files* pFiles) {
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName, path = folder + "\\" + name;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            (*pFiles)[prefix + name] = Fingerprint(test::TempFolder::ReadFile(path));
        else if (name != "." && name != "..")
            CollectFiles(path, prefix + name + "\\", pFiles);
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
}

// Empties folder, subfolders and read-only files included.
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName, path = folder + "\\" + name;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(path.c_str());
        } else if (name != "." && name != "..") {
            RemoveTree(path);
            ::RemoveDirectoryA(path.c_str());
        }
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
}

// Holds a file open without sharing, in a process of its own: the handle is handed to a
// suspended child, which keeps it until it is ended.
class HeldByAnotherProcess {
public:
    explicit HeldByAnotherProcess(const std::string& path) {
        char cmd[MAX_PATH];
        ::GetSystemDirectoryA(cmd, MAX_PATH);
        std::string command = std::string(cmd) + "\\cmd.exe";
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        ::CreateProcessA(command.c_str(), nullptr, nullptr, nullptr, FALSE,
                         CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &si, &m_child);
        HANDLE hFile =
            ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        HANDLE hHeld = nullptr;
        m_bHeld = m_child.hProcess && hFile != INVALID_HANDLE_VALUE &&
                  ::DuplicateHandle(::GetCurrentProcess(), hFile, m_child.hProcess, &hHeld, 0,
                                    FALSE, DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE);
    }
    ~HeldByAnotherProcess() {
        if (!m_child.hProcess)
            return;
        ::TerminateProcess(m_child.hProcess, 0);
        ::WaitForSingleObject(m_child.hProcess, 5000);
        ::CloseHandle(m_child.hThread);
        ::CloseHandle(m_child.hProcess);
    }
    HeldByAnotherProcess(const HeldByAnotherProcess&) = delete;
    HeldByAnotherProcess& operator=(const HeldByAnotherProcess&) = delete;
    bool Held() const { return m_bHeld; }

private:
    PROCESS_INFORMATION m_child = {};
    bool m_bHeld = false;
};

bool SameBytes(const std::string& pathA, const std::string& pathB) {
    HANDLE hA = ::CreateFileA(pathA.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    HANDLE hB = ::CreateFileA(pathB.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    bool bSame = hA != INVALID_HANDLE_VALUE && hB != INVALID_HANDLE_VALUE;
    std::vector<char> a(1 << 20), b(1 << 20);
    for (DWORD nA = 1, nB = 0; bSame && nA > 0;) {
        bSame = ::ReadFile(hA, a.data(), 1 << 20, &nA, nullptr) &&
                ::ReadFile(hB, b.data(), 1 << 20, &nB, nullptr) && nA == nB &&
                std::equal(a.begin(), a.begin() + nA, b.begin());
    }
    ::CloseHandle(hA);
    ::CloseHandle(hB);
    return bSame;
}

class CopyFaults : public Copy {
protected:
    void TearDown() override {
        RemoveTree("E:");
        Copy::TearDown();
    }

    struct Row {
        std::string name, path, content;
    };
    std::vector<Row> rows;
    Files onDevice;  // put on the drive before the run

    void SetUpRows(int nRows) {
        rows.clear();
        for (int i = 1; i <= nRows; ++i) {
            std::string name = "track" + std::to_string(i) + ".mp3";
            std::string content = "content of track " + std::to_string(i) + std::string(i, '.');
            rows.push_back({name, sources.CreateFile(name, content), content});
        }
    }
    void Put(const std::string& path, const std::string& content) {
        test::TempFolder::WriteFile("E:\\" + path, content.data(), content.size());
        onDevice[path] = Fingerprint(content);
    }
    // What the drive must hold after a run in which the given rows (from 1) failed.
    Files Expected(const std::set<int>& failed, bool bPrefix) const {
        Files files = onDevice;
        for (size_t i = 0; i < rows.size(); ++i) {
            char prefix[16] = "";
            if (bPrefix)
                wsprintfA(prefix, "%03u_", static_cast<unsigned>(i + 1));
            if (!failed.count(static_cast<int>(i + 1)))
                files[prefix + rows[i].name] = Fingerprint(rows[i].content);
        }
        return files;
    }
    void ExpectWindowAnswers() {
        dlg.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_CLEAR, BN_CLICKED),
                        reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDC_CLEAR)));
        EXPECT_TRUE(test::PumpUntil([&] { return dlg.m_playlist.GetItemCount() == 0; }));
    }
};

const std::string kLongFolder = "C:\\ov";

// One fault in a run over eight rows; the rows that fail are numbered from 1.
struct Fault {
    Fault(const char* lpszLabel, std::set<int> failedRows)
        : label(lpszLabel), failed(std::move(failedRows)) {}
    Fault& NoPrefix() { return bPrefix = false, *this; }
    // Before the run: may change rows and put files on the drive.
    Fault& Before(std::function<void()> action) { return before = std::move(action), *this; }
    // Strikes once step n shows, before its file is copied.
    Fault& AtStep(int n, std::function<void()> action) {
        return nStep = n, strike = std::move(action), *this;
    }
    // Gives back what the fault took, before the drive is checked.
    Fault& After(std::function<void()> action) { return after = std::move(action), *this; }

    const char* label;
    std::set<int> failed;
    bool bPrefix = true;
    std::function<void()> before, strike, after;
    int nStep = 0;
};

TEST_F(CopyFaults, EachFailureIsCountedAndNothingElseIsLostOrLeftHalfWritten) {
    const std::string hostE = HostFolderOf('E');
    std::unique_ptr<HeldByAnotherProcess> held;
    ::CreateDirectoryA(kLongFolder.c_str(), nullptr);
    const std::string longName = std::string(248, 'n') + ".mp3";
    const std::string longPath = kLongFolder + "\\" + longName;
    auto rowAt = [this](int nRow) -> Row& { return rows[static_cast<size_t>(nRow - 1)]; };
    const Fault faults[] = {
        Fault("source deleted mid-run", {5})
            .AtStep(2, [&] { ::DeleteFileA(rowAt(5).path.c_str()); }),
        Fault("device folder gone mid-run", {4, 5, 6, 7, 8})
            .AtStep(4, [&] { ::MoveFileA(hostE.c_str(), (hostE + "-unplugged").c_str()); })
            .After([&] { ::MoveFileA((hostE + "-unplugged").c_str(), hostE.c_str()); }),
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
        Fault("names in the ANSI code page", {}).Before([&] {
            int nRow = 0;
            for (std::string name : {"Caf\xe9.mp3",
                                     "Stra\xdf"
                                     "e.mp3",
                                     "\xfc"
                                     "ber.mp3"})
                rowAt(++nRow) = {name, sources.CreateFile(name, name), name};
        }),
        Fault("source held by another process", {4})
            .NoPrefix()
            .Before([&] {
                Put("track4.mp3", "old");
                held = std::make_unique<HeldByAnotherProcess>(rowAt(4).path);
                ASSERT_TRUE(held->Held());
            })
            .After([&] { held.reset(); }),
        Fault("missing source", {6}).NoPrefix().Before([&] {
            Put("track6.mp3", "old");
            ::DeleteFileA(rowAt(6).path.c_str());
        }),
        Fault("a file where the copy stages its work", {}).Before([&] {
            Put("~ovelo.tmp", "in the way");
        }),
    };
    test::RunModal(dlg, [&] {
        for (const Fault& fault : faults) {
            SCOPED_TRACE(fault.label);
            RemoveTree("E:");
            onDevice.clear();
            SetUpRows(8);
            if (fault.before)
                fault.before();
            for (const Row& row : rows)
                AddSource(row.name, row.path);
            dlg.m_addPrefixCheck.SetCheck(fault.bPrefix ? BST_CHECKED : BST_UNCHECKED);
            int nSteps = 0;
            ProgressLog log = RunCopy([&] {
                if (++nSteps == fault.nStep)
                    fault.strike();
            });
            if (fault.after)
                fault.after();

            char summary[64] = "Complete";
            if (!fault.failed.empty())
                wsprintfA(summary, "Complete, %u of 8 files failed",
                          static_cast<unsigned>(fault.failed.size()));
            EXPECT_EQ(log.texts.back(), summary);
            Files found;
            CollectFiles("E:", "", &found);
            EXPECT_EQ(found, Expected(fault.failed, fault.bPrefix));
            ExpectWindowAnswers();
        }
    });
    ::SetFileAttributesA(longPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    test::TempFolder::RemoveContents(kLongFolder);
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
    SetUpRows(2);
    rows.insert(rows.begin() + 1, {"big.mkv", bigPath, ""});
    test::RunModal(dlg, [&] {
        for (const Row& row : rows)
            AddSource(row.name, row.path);
        EXPECT_EQ(RunCopy().texts.back(), "Complete");
        EXPECT_TRUE(SameBytes(bigPath, "E:\\002_big.mkv"));
        EXPECT_EQ(test::TempFolder::ReadFile("E:\\003_track2.mp3"), rows[2].content);
    });
    ::DeleteFileA("E:\\002_big.mkv");
}

// On a device of 1 MiB (a tmpfs on G:'s folder), a copy that fills it fails alone: its
// partial copy goes, so the smaller files after it still fit, and the file it would have
// replaced stays.
TEST_F(CopyFaults, DeviceFullMidFileFailsThatFileAlone) {
    char refused[512] = "";
    if (::GetEnvironmentVariableA("OVELO_SMALL_DEVICE_REFUSED", refused, sizeof(refused)) ||
        !::GetEnvironmentVariableA("OVELO_SMALL_DEVICE", nullptr, 0))
        GTEST_SKIP() << "no 1 MiB device: " << (*refused ? refused : "run through ctest");
    const size_t kKiB = 1024;
    const std::pair<const char*, size_t> files[] = {{"a.mp3", 300 * kKiB},
                                                    {"big.avi", 2048 * kKiB},
                                                    {"c.mp3", 300 * kKiB},
                                                    {"d.mp3", 200 * kKiB}};
    for (const auto& file : files) {
        std::string content(file.second, file.first[0]);
        rows.push_back({file.first, sources.CreateFile(file.first, content), content});
    }
    const std::string old(100 * kKiB, 'o');
    test::TempFolder::WriteFile("G:\\big.avi", old.data(), old.size());
    test::RunModal(dlg, [&] {
        for (const Row& row : rows)
            AddSource(row.name, row.path);
        dlg.m_driveCombo.SetCurSel(dlg.m_driveCombo.FindStringExact(-1, "G:"));
        dlg.m_addPrefixCheck.SetCheck(BST_UNCHECKED);
        EXPECT_EQ(RunCopy().texts.back(), "Complete, 1 of 4 files failed");
        Files found;
        CollectFiles("G:", "", &found);
        Files expected = {{"big.avi", Fingerprint(old)}};
        for (const Row& row : rows)
            expected.insert({row.name, Fingerprint(row.content)});
        EXPECT_EQ(found, expected);
        ExpectWindowAnswers();
    });
    RemoveTree("G:");
}

}  // namespace
