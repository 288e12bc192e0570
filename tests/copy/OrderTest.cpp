// Putting the list's copies on E: in list order: they go out and come back in that order,
// where the drive's order can be read they then stand in it, nothing else moves, and a stop
// at any point, or a run killed while copies were out, loses nothing.
#include "copy/RootInOrder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

// The list; its copies are written onto E: in reverse order, among files of the user's (x1.txt)
// and gaps where others were.
const Names kList = {"001_a.mp3",
                     "002_The second one with a long title.mp3",
                     "003_c.mp3",
                     "004_Four.mp3",
                     "005_e.mp3",
                     "006_f.mp3",
                     "007_not on the drive.mp3"};

std::string Path(const std::string& name) { return "E:\\" + name; }

void Write(const std::string& name) {
    test::TempFolder::WriteFile(Path(name), name.data(), name.size());
}

// The root in the order the drive lists it, and whether that is the disk's.
std::vector<RootEntry> Root(bool* pDiskOrder) { return ListRoot("E:", pDiskOrder); }

std::vector<CString> Spelled(const Names& names) {
    std::vector<CString> spelled;
    for (const std::string& name : names)
        spelled.emplace_back(name.c_str());
    return spelled;
}

// Every file on E: with its content, and whether the order folder is left.
std::string Contents() {
    std::string contents;
    for (const std::string& name : test::TempFolder::FileNames("E:"))
        contents += name + "=" + test::TempFolder::ReadFile(Path(name)) + "\n";
    if (::GetFileAttributesA(Path(kOrderFolder).c_str()) != INVALID_FILE_ATTRIBUTES)
        contents += "and the order folder\n";
    return contents;
}

class RootInOrder : public ::testing::Test {
protected:
    // Gaps and the user's files among the copies, written in reverse list order.
    void SetUp() override {
        test::TempFolder::RemoveContents("E:", true);
        Write("gap1.txt");
        for (int i = 5; i >= 0; --i) {
            Write(kList[static_cast<size_t>(i)]);
            Write(i % 2 ? "x" + std::to_string(i) + ".txt" : "gap" + std::to_string(i) + ".txt");
        }
        for (const char* gap : {"gap1.txt", "gap0.txt", "gap2.txt", "gap4.txt"})
            ::DeleteFileA(Path(gap).c_str());
        ::CreateDirectoryA("E:\\008_a folder.mp3", nullptr);
        m_written = Contents();
    }
    void TearDown() override {
        ::RemoveDirectoryA("E:\\008_a folder.mp3");
        test::TempFolder::RemoveContents(Path(kOrderFolder));
        test::TempFolder::RemoveContents("E:", true);
    }
    std::vector<CString> Copies() {
        bool bDiskOrder = false;
        return CopiesToPutInOrder(Root(&bDiskOrder), Spelled(kList));
    }
    std::string m_written;
};

TEST_F(RootInOrder, TheCopiesComeBackInListOrderAndNothingElseMoves) {
    // Spelled as the root spells them, once each; a folder of a copy's name is not one.
    Names list = kList;
    list[0] = "001_A.MP3";
    list.push_back("003_C.mp3");
    list.push_back("008_a folder.mp3");
    bool bDiskOrder = false;
    const std::vector<CString> copies = CopiesToPutInOrder(Root(&bDiskOrder), Spelled(list));
    EXPECT_EQ(copies, Spelled(Names(kList.begin(), kList.begin() + 6)));
    EXPECT_EQ(AskToPutInOrder("E:", 13),
              "The files on E: do not stand on the disk in the order of the list, and players "
              "that play files in the order they were written will play them in another order. "
              "Put them in order now? This moves 13 files on E: and copies none.");
    EXPECT_NE(AskToPutInOrder("E:", 1).Find("This moves 1 file on E: and copies none."), -1);
    if (bDiskOrder) {
        EXPECT_FALSE(StandsInListOrder(Root(&bDiskOrder), copies)) << "the copies as written";
    }

    UINT nLastMove = 0;
    const OrderOutcome outcome =
        PutInOrder("E:", copies, false, [&](const CString&, UINT nMove, UINT nMoves) {
            EXPECT_EQ(nMove, nLastMove + 1);
            EXPECT_EQ(nMoves, 12u);
            return nLastMove = nMove, true;
        });
    EXPECT_EQ(outcome.result, OrderResult::kDone);
    EXPECT_TRUE(outcome.left.empty());
    EXPECT_EQ(nLastMove, 12u);
    EXPECT_EQ(Contents(), m_written);
    EXPECT_EQ(::GetFileAttributesA("E:\\008_a folder.mp3") & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    const std::vector<RootEntry> after = Root(&bDiskOrder);
    if (bDiskOrder) {
        EXPECT_TRUE(StandsInListOrder(after, copies)) << "the copies put in order";
    } else {
        std::printf("E:'s order on the disk cannot be read here: only what moved is checked\n");
    }
}

TEST_F(RootInOrder, AStopAtAnyMoveOrAKilledRunLosesNothing) {
    const std::vector<CString> copies = Copies();
    for (UINT nStop = 1; nStop <= 12; ++nStop) {
        SCOPED_TRACE("stopped at move " + std::to_string(nStop));
        const OrderOutcome outcome = PutInOrder(
            "E:", copies, false, [&](const CString&, UINT nMove, UINT) { return nMove != nStop; });
        EXPECT_EQ(outcome.result, nStop < 6 ? OrderResult::kStopped : OrderResult::kDone);
        EXPECT_EQ(Contents(), m_written);
    }
    // Killed while two copies were out and the gaps were filled: the next putting in order
    // brings them back first and removes the fillers, but a file of the user's of that name.
    ::CreateDirectoryA(Path(kOrderFolder).c_str(), nullptr);
    for (const char* name : {"003_c.mp3", "006_f.mp3"})
        ::MoveFileA(Path(name).c_str(), (Path(kOrderFolder) + "\\" + name).c_str());
    test::TempFolder::WriteFile(Path("~OVG0000"), "", 0);
    test::TempFolder::WriteFile(Path("~OVG0001"), "mine", 4);
    EXPECT_TRUE(PutInOrder("E:", copies, true).left.empty());
    EXPECT_EQ(Contents(), m_written + "~OVG0001=mine\n");
    ::DeleteFileA(Path("~OVG0001").c_str());

    // One that cannot come back, since the root holds another of its name, stays where the
    // user sees it, and then nothing is put in order.
    ::CreateDirectoryA(Path(kOrderFolder).c_str(), nullptr);
    test::TempFolder::WriteFile(Path(kOrderFolder) + "\\001_a.mp3", "older", 5);
    ::SetFileAttributesA(Path(kOrderFolder).c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(BringBackFromOrderFolder("E:"), Spelled({"001_a.mp3"}));
    EXPECT_FALSE(::GetFileAttributesA(Path(kOrderFolder).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    const OrderOutcome refused = PutInOrder("E:", copies);
    EXPECT_EQ(refused.result, OrderResult::kFailed);
    EXPECT_EQ(refused.left, Spelled({"001_a.mp3"}));
    EXPECT_EQ(Contents(), m_written + "and the order folder\n");
    EXPECT_EQ(test::TempFolder::ReadFile(Path(kOrderFolder) + "\\001_a.mp3"), "older");
}

}  // namespace
