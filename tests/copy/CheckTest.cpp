// The check of copies on E:: what the staged copy wrote, read back past the cache, is equal
// to its digest until the drive's bytes change; on a card that stores half of what it claims,
// a run names exactly the copies it wrote over and takes them away; and Check Device names a
// copy changed since, writing nothing.
#include "copy/CopyCheck.h"
#include "copy/CopyRecord.h"
#include "copy/DeviceCheck.h"
#include "copy/StagedCopy.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const DWORD kMiB = 1 << 20;

std::string Bytes(size_t nBytes, unsigned seed) {
    std::string bytes(nBytes, '\0');
    for (char& c : bytes)
        c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    return bytes;
}

struct Copied {
    CString path;
    FileDigest digest;
};

// Asks for no stop; counts what it is told.
struct Watcher : CCopyObserver {
    UINT nSteps = 0, nChecks = 0;
    void StepBegun(UpdateStep::Kind, const CString&, UINT, UINT) override { ++nSteps; }
    void BytesCopied(ULONGLONG, ULONGLONG) override {}
    void CheckBegun(const CString&, UINT, UINT) override { ++nChecks; }
    bool StopWanted() override { return false; }
};

// Rows of the files named, each of the bytes given, made in sources.
std::vector<CopyRow> MakeRows(const test::TempFolder& sources,
                              const std::vector<std::string>& names,
                              const std::vector<std::string>& bytes) {
    std::vector<CopyRow> rows;
    for (size_t i = 0; i < names.size(); ++i) {
        const CString path = sources.CreateFile(names[i], bytes[i]).c_str();
        rows.push_back({names[i].c_str(), path, ReadFileFacts(path)});
    }
    return rows;
}

// Copy Files of rows onto E:, carried out by the runner.
RunOutcome CopyRowsOntoE(const std::vector<CopyRow>& rows, CCopyObserver& watcher) {
    const VolumeFacts facts = ReadVolumeFacts("E:");
    bool bDiskOrder = false;
    std::vector<RootEntry> root = ListRoot("E:", &bDiskOrder);
    MarkOwnCopies("E:", &root);
    const UpdatePlan plan = PlanCopy(rows, TRUE, PlanUpdate(rows, TRUE, root, false).own);
    return RunPlan("E:", facts, plan, rows, root, watcher);
}

Copied CopyOntoE(CStagedCopy& copy, const test::TempFolder& sources, const std::string& name,
                 const std::string& bytes) {
    const std::string source = sources.CreateFile(name, bytes);
    EXPECT_EQ(copy.Copy(source.c_str(), "E:", name.c_str(), bytes.size(), Existing::kReplace),
              CopyOutcome::kCopied)
        << name;
    return {JoinPath("E:", name.c_str()), copy.Digest()};
}

TEST(CopyCheck, ACopyIsEqualUntilItsBytesOnTheDriveChange) {
    test::TempFolder sources("check");
    test::TempFolder::RemoveContents("E:", true);
    const struct {
        const char* label;
        size_t nBytes;
        std::function<void(std::string&)> edit;  // of the copy's bytes on the drive
        CheckResult expected;
    } cases[] = {
        {"empty", 0, nullptr, CheckResult::kEqual},
        {"less than a sector", 511, nullptr, CheckResult::kEqual},
        {"a whole piece", kMiB, nullptr, CheckResult::kEqual},
        {"a piece and a byte", kMiB + 1, nullptr, CheckResult::kEqual},
        {"a byte changed in the second piece", 2 * kMiB + 100,
         [](std::string& bytes) { bytes[kMiB + 7] ^= 1; }, CheckResult::kDifferent},
        {"a byte shorter", 4096, [](std::string& bytes) { bytes.pop_back(); },
         CheckResult::kDifferent},
        {"longer by a piece", kMiB, [](std::string& bytes) { bytes += Bytes(kMiB, 9); },
         CheckResult::kDifferent},
        {"removed", 10, nullptr, CheckResult::kUnreadable},
    };
    CStagedCopy copy;
    CCopyCheck check("E:");
    unsigned seed = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Copied copied =
            CopyOntoE(copy, sources, std::string(c.label) + ".mp3", Bytes(c.nBytes, ++seed));
        const std::string path = static_cast<LPCSTR>(copied.path);
        std::string bytes = test::TempFolder::ReadFile(path);
        // Removed and written anew: some FAT drivers cannot replace a file's bytes in place.
        ::DeleteFileA(path.c_str());
        if (c.edit)
            c.edit(bytes);
        if (c.expected != CheckResult::kUnreadable)
            test::TempFolder::WriteFile(path, bytes.data(), bytes.size());
        EXPECT_EQ(check.Check(copied.path, copied.digest), c.expected);
    }
    // Stopped between the pieces of a long copy, after the first.
    const Copied copied = CopyOntoE(copy, sources, "long.mp3", Bytes(3 * kMiB, 5));
    int nAsked = 0;
    EXPECT_EQ(check.Check(copied.path, copied.digest, [&] { return ++nAsked == 1; }),
              CheckResult::kStopped);
    EXPECT_EQ(check.Check(copied.path, copied.digest, [&] { return ++nAsked > 9; }),
              CheckResult::kEqual);
    test::TempFolder::RemoveContents("E:", true);
}

// tools/fake-card.py as E: (the copy_fakecard entry): it claims 32 MiB and stores 16, so the
// fifth and sixth copies of 4 MiB are stored over the first and second, and what is written
// after them, the drive's record, over another. The run's check names exactly the copies that
// are not the songs, and they are gone; the others are the songs.
TEST(FakeCard, TheRunNamesAndRemovesExactlyTheCopiesTheCardWroteOver) {
    char card[8] = "";
    if (!::GetEnvironmentVariableA("OVELO_FAKE_CARD", card, sizeof(card)))
        GTEST_SKIP() << "E: is not a fake card here: the copy_fakecard entry makes one";
    ULARGE_INTEGER total;
    ASSERT_TRUE(::GetDiskFreeSpaceExA("E:\\", nullptr, &total, nullptr));
    EXPECT_EQ(total.QuadPart, 32ULL * kMiB) << "the card's claim";
    test::TempFolder sources("card");
    std::vector<std::string> names, bytes;
    for (int i = 1; i <= 6; ++i) {
        names.push_back("song" + std::to_string(i) + ".mp3");
        bytes.push_back(Bytes(4 * kMiB, static_cast<unsigned>(i)));
    }
    Watcher watcher;
    const RunOutcome outcome = CopyRowsOntoE(MakeRows(sources, names, bytes), watcher);
    ASSERT_GE(outcome.differed.size(), 2u);
    EXPECT_EQ(std::vector<CString>(outcome.differed.begin(), outcome.differed.begin() + 2),
              (std::vector<CString>{"001_song1.mp3", "002_song2.mp3"}));
    EXPECT_EQ(watcher.nChecks, 6u);
    CString summary;
    summary.Format("Complete, %u of 6 files failed", unsigned(outcome.differed.size()));
    EXPECT_EQ(outcome.Summary(), summary);
    EXPECT_EQ(DescribeDiffering("E:", {"001_song1.mp3", "002_song2.mp3"}),
              "2 files on E: are not what was written: 001_song1.mp3, 002_song2.mp3. The drive "
              "may be failing, or smaller than it claims to be: cards sold with a false size lose "
              "what was written before when they are filled.");
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string path = "E:\\" + std::string(static_cast<LPCSTR>(outcome.names[i]));
        SCOPED_TRACE(path);
        if (std::count(outcome.differed.begin(), outcome.differed.end(), outcome.names[i]))
            EXPECT_EQ(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
        else
            EXPECT_TRUE(test::TempFolder::ReadFile(path) == bytes[i]);
    }
    test::TempFolder::RemoveContents("E:", true);
}

// Check Device after a run: one copy changed on the drive, one taken away, one renamed to
// another row's name is named, each as what it is; the rest match; nothing is written.
TEST(CheckDevice, NamesWhatDiffersAndWritesNothing) {
    test::TempFolder sources("device");
    test::TempFolder::RemoveContents("E:", true);
    std::vector<std::string> names, bytes;
    for (int i = 1; i <= 5; ++i) {
        names.push_back("song" + std::to_string(i) + ".mp3");
        bytes.push_back(Bytes(1000 + static_cast<size_t>(i), static_cast<unsigned>(i)));
    }
    std::vector<CopyRow> rows = MakeRows(sources, names, bytes);
    Watcher watcher;
    ASSERT_EQ(CopyRowsOntoE(rows, watcher).Summary(), "Complete");
    Watcher checker;
    DeviceCheck check = CheckDevice("E:", rows, TRUE, checker);
    EXPECT_TRUE(check.AllMatch());
    EXPECT_EQ(DescribeDeviceCheck("E:", check), "All 5 copies on E: match their files.");

    // The same size and time: only the bytes tell.
    std::string changed = bytes[1];
    changed[500] ^= 1;
    FILETIME written;
    HANDLE hCopy = ::CreateFileA("E:\\002_song2.mp3", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hCopy, INVALID_HANDLE_VALUE);
    ::GetFileTime(hCopy, nullptr, nullptr, &written);
    DWORD nWritten = 0;
    ::WriteFile(hCopy, changed.data(), static_cast<DWORD>(changed.size()), &nWritten, nullptr);
    ::SetFileTime(hCopy, nullptr, nullptr, &written);
    ::CloseHandle(hCopy);
    ::DeleteFileA("E:\\004_song4.mp3");
    const std::vector<std::string> before = test::TempFolder::FileNames("E:");
    const std::string record = test::TempFolder::ReadFile(std::string("E:\\") + kCopyRecord);
    check = CheckDevice("E:", rows, TRUE, checker);
    EXPECT_EQ(check.different, std::vector<CString>{"002_song2.mp3"});
    EXPECT_EQ(check.missing, std::vector<CString>{"004_song4.mp3"});
    EXPECT_EQ(check.nMatching, 3u);
    EXPECT_EQ(DescribeDeviceCheck("E:", check),
              "E: holds matching copies of 3 of these 5 files.\nDifferent: 002_song2.mp3.\n"
              "Missing: 004_song4.mp3.");
    EXPECT_EQ(test::TempFolder::FileNames("E:"), before);
    EXPECT_EQ(test::TempFolder::ReadFile(std::string("E:\\") + kCopyRecord), record);
    test::TempFolder::RemoveContents("E:", true);
}

}  // namespace
