// The drive's record of the program's copies: what a damaged or hostile record can make it
// believe (no more than names with sizes and times that the root still holds), and its
// replacement, whole, over a read-only one.
#include "copy/CopyRecord.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

const ULONGLONG kTime = 133000000000000000ULL;
const ULONGLONG kSecond = 10000000;

TEST(CopyRecord, NamesOnlyWhatItsLinesSayAndTheRootStillHoldsAsRecorded) {
    const std::string time = " " + std::to_string(kTime) + " ";
    const std::string lines =
        "3" + time + "001_a.mp3\r\n" + "5" + time + "Caf\xC3\xA9.mp3\n" +  // a name beyond ASCII
        "6" + time + "002_b.mp3\r\n" + "7" + time + "..\\x.mp3\r\n" +      // a path
        "8" + time + "con\x01.mp3\r\n" +                                   // a control character
        "9" + time + "\xC3(.mp3\r\n" +                                     // not UTF-8
        "99999999999999999999" + time + "big.mp3\r\n" +                    // beyond 64 bits
        "4" + time + "\r\n" +                                              // no name
        "4" + time + std::string(256, 'n') + "\r\n" + "x 1 y.mp3\r\n" + "2" + time + "last.mp3";
    std::vector<std::wstring> names;
    for (const RecordedCopy& copy : ParseCopyRecord(FormatCopyRecord({}) + lines))
        names.push_back(copy.name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"001_a.mp3", L"Caf\u00E9.mp3", L"002_b.mp3",
                                                L"last.mp3"}));
    EXPECT_TRUE(ParseCopyRecord("Some other file\r\n" + lines).empty());
    const std::vector<RecordedCopy> copies = ParseCopyRecord(FormatCopyRecord({}) + lines);
    EXPECT_EQ(ParseCopyRecord(FormatCopyRecord(copies)).size(), copies.size());

    // On the drive: the root's files as the record has them, an hour off after a change to
    // daylight-saving time, changed since, or not recorded.
    test::TempFolder::WriteFile("E:\\" + std::string(kCopyRecord),
                                (FormatCopyRecord({}) + lines).data(),
                                FormatCopyRecord({}).size() + lines.size());
    std::vector<RootEntry> root = {{"001_A.MP3", true, false, {true, 3, kTime}},
                                   {"002_b.mp3", true, false, {true, 6, kTime + 3600 * kSecond}},
                                   {"last.mp3", true, false, {true, 3, kTime}},
                                   {"y.mp3", true, false, {true, 1, 1}}};
    MarkOwnCopies("E:", &root);
    std::vector<bool> own;
    for (const RootEntry& entry : root)
        own.push_back(entry.bOwn);
    EXPECT_EQ(own, (std::vector<bool>{true, true, false, false}));

    // Replaced whole, hidden, even where the record was made read-only.
    ::SetFileAttributesA(("E:\\" + std::string(kCopyRecord)).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(COwnCopies({"last.mp3", "y.mp3", "gone.mp3"}).Write("E:", root));
    names.clear();
    for (const RecordedCopy& copy :
         ParseCopyRecord(test::TempFolder::ReadFile("E:\\" + std::string(kCopyRecord))))
        names.push_back(copy.name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"last.mp3", L"y.mp3"}));
    if (test::TempFolder::KeepsAttributes("E:")) {
        EXPECT_EQ(::GetFileAttributesA(("E:\\" + std::string(kCopyRecord)).c_str()) &
                      (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
                  static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    }
    EXPECT_EQ(test::TempFolder::FileNames("E:"), std::vector<std::string>());
    test::TempFolder::RemoveContents("E:", true);
}

}  // namespace
