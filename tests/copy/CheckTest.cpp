// The check of copies on E:: what the staged copy wrote, read back past the cache, is equal
// to its digest until the drive's bytes change; and on a card that stores half of what it
// claims, exactly the copies it wrote over differ.
#include "copy/CopyCheck.h"
#include "copy/StagedCopy.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

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
// fifth and sixth copies of 4 MiB are stored over the first and second.
TEST(FakeCard, TheCheckNamesExactlyTheCopiesTheCardWroteOver) {
    char card[8] = "";
    if (!::GetEnvironmentVariableA("OVELO_FAKE_CARD", card, sizeof(card)))
        GTEST_SKIP() << "E: is not a fake card here: the copy_fakecard entry makes one";
    ULARGE_INTEGER total;
    ASSERT_TRUE(::GetDiskFreeSpaceExA("E:\\", nullptr, &total, nullptr));
    EXPECT_EQ(total.QuadPart, 32ULL * kMiB) << "the card's claim";
    test::TempFolder sources("card");
    CStagedCopy copy;
    std::vector<Copied> copies;
    std::vector<std::string> bytes;
    for (int i = 1; i <= 6; ++i) {
        bytes.push_back(Bytes(4 * kMiB, static_cast<unsigned>(i)));
        copies.push_back(
            CopyOntoE(copy, sources, "song" + std::to_string(i) + ".mp3", bytes.back()));
    }
    CCopyCheck check("E:");
    for (size_t i = 0; i < copies.size(); ++i) {
        SCOPED_TRACE(static_cast<LPCSTR>(copies[i].path));
        const bool bWrittenOver = i < 2;
        EXPECT_EQ(check.Check(copies[i].path, copies[i].digest),
                  bWrittenOver ? CheckResult::kDifferent : CheckResult::kEqual);
        EXPECT_EQ(test::TempFolder::ReadFile(static_cast<LPCSTR>(copies[i].path)) == bytes[i],
                  !bWrittenOver);
    }
    test::TempFolder::RemoveContents("E:", true);
}

}  // namespace
