// Copying the playlist into the root of the removable test drive E:.
#include "copy/StagedCopy.h"
#include "tests/copy/CopyFixture.h"
#include "tests/support/Capture.h"

namespace {

using namespace copytest;

TEST_F(Copy, ThreeFilesArriveNumberedInListOrderWhileTheBarShowsEachStep) {
    test::RunModal(dlg, [&] {
        AddSource("a.mp3", sources.CreateFile("a.mp3", "first"));
        AddSource("b.jpg", sources.CreateFile("b.jpg", "second"));
        AddSource("c.avi", sources.CreateFile("c.avi", "third"));
        ProgressLog log = RunCopy(nullptr, true);

        EXPECT_EQ(test::TempFolder::FileNames("E:"),
                  (Names{"001_a.mp3", "002_b.jpg", "003_c.avi"}));
        EXPECT_EQ(test::TempFolder::ReadFile("E:\\002_b.jpg"), "second");
        // Then the copies are checked, from an empty bar; a quick check may not show.
        ASSERT_GE(log.texts.size(), 6u);
        EXPECT_EQ(Names(log.texts.begin(), log.texts.begin() + 4),
                  (Names{"Copying a.mp3(1 of 3)...", "Copying b.jpg(2 of 3)...",
                         "Copying c.avi(3 of 3)...", "Checking a.mp3(1 of 3)..."}));
        EXPECT_EQ(log.texts.rbegin()[1], "Checking c.avi(3 of 3)...");
        EXPECT_EQ(log.LastText(), "Complete");
        ASSERT_GE(log.positions.size(), 4u);
        EXPECT_EQ(std::vector<int>(log.positions.begin(), log.positions.begin() + 4),
                  (std::vector<int>{1, 2, 3, 1}));
        // Each step shows before its file is copied, so the bar is full during the last copy.
        EXPECT_EQ(Names(log.copiedAtStep.begin(), log.copiedAtStep.begin() + 3),
                  (Names{"0", "1", "2"}));
        EXPECT_TRUE(log.bRepaintedAtOnce);
        PBRANGE range;
        dlg.m_progress.SendMessage(PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
        EXPECT_EQ(range.iLow, 0);
        EXPECT_EQ(range.iHigh, 3);
        RECT update;
        EXPECT_FALSE(::GetUpdateRect(dlg.m_progress.m_hWnd, &update, FALSE));  // "Complete" shown
    });
}

TEST_F(Copy, WithoutPrefixNamesAreKeptAndExistingFilesReplaced) {
    test::RunModal(dlg, [&] {
        test::TempFolder::RemoveContents("E:", true);
        HANDLE hOld =
            ::CreateFileA("E:\\song.mp3", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ::WriteFile(hOld, "old", 3, nullptr, nullptr);
        ::CloseHandle(hOld);
        AddSource("song.mp3", sources.CreateFile("song.mp3", "new content"));
        dlg.m_addPrefixCheck.SetCheck(BST_UNCHECKED);
        ProgressLog log = RunCopy();
        EXPECT_EQ(test::TempFolder::FileNames("E:"), (Names{"song.mp3"}));
        EXPECT_EQ(test::TempFolder::ReadFile("E:\\song.mp3"), "new content");
        EXPECT_EQ(log.LastText(), "Complete");
    });
}

TEST_F(Copy, MissingSourceIsSkippedLeavesAGapAndIsReported) {
    test::RunModal(dlg, [&] {
        AddSource("a.mp3", sources.CreateFile("a.mp3", "a"));
        AddSource("gone.mp3", sources.PathOf("gone.mp3"));
        AddSource("c.mp3", sources.CreateFile("c.mp3", "c"));
        ProgressLog log = RunCopy();
        EXPECT_EQ(test::TempFolder::FileNames("E:"), (Names{"001_a.mp3", "003_c.mp3"}));
        // Then the two copies' checks.
        EXPECT_EQ(log.positions, (std::vector<int>{1, 2, 3, 1, 2}));
        EXPECT_EQ(log.LastText(), "Complete, 1 of 3 files failed");
        EXPECT_EQ(std::string(dlg.m_progress.GetWindowText()), "Complete, 1 of 3 files failed");
    });
}

TEST_F(Copy, NameTheFileSystemRefusesIsReported) {
    // 252 characters make a valid name in a short source folder; with "001_" in
    // front the name is longer than a file system allows.
    const std::string shortFolder = "C:\\ov";
    ::CreateDirectoryA(shortFolder.c_str(), nullptr);
    std::string longName = std::string(248, 'n') + ".mp3";
    std::string source = shortFolder + "\\" + longName;
    HANDLE hSource =
        ::CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(hSource, INVALID_HANDLE_VALUE);
    ::CloseHandle(hSource);
    test::RunModal(dlg, [&] {
        AddSource(longName, source);
        AddSource("ok.mp3", sources.CreateFile("ok.mp3", "ok"));
        ProgressLog log = RunCopy();
        EXPECT_EQ(test::TempFolder::FileNames("E:"), (Names{"002_ok.mp3"}));
        EXPECT_EQ(log.LastText(), "Complete, 1 of 2 files failed");
    });
    test::TempFolder::RemoveContents(shortFolder);
}

TEST_F(Copy, NoSelectedDriveDoesNothing) {
    test::RunModal(dlg, [&] {
        AddSource("a.mp3", sources.CreateFile("a.mp3", "a"));
        dlg.m_driveCombo.SetCurSel(-1);
        dlg.m_progress.SetWindowText("untouched");
        ProgressLog log = RunCopy();
        EXPECT_TRUE(log.texts.empty());
        EXPECT_TRUE(log.positions.empty());
        EXPECT_EQ(std::string(dlg.m_progress.GetWindowText()), "untouched");
        EXPECT_TRUE(test::TempFolder::FileNames("E:").empty());
    });
}

TEST_F(Copy, EmptyPlaylistLeavesTheBarAlone) {
    test::RunModal(dlg, [&] {
        dlg.m_progress.SendMessage(PBM_SETPOS, 40);
        ProgressLog log = RunCopy();
        EXPECT_TRUE(log.texts.empty());
        EXPECT_EQ(dlg.m_progress.SendMessage(PBM_GETPOS), 40);
    });
}

TEST_F(Copy, SecondRunStartsFromAnEmptyBar) {
    test::RunModal(dlg, [&] {
        AddSource("a.mp3", sources.CreateFile("a.mp3", "a"));
        AddSource("b.mp3", sources.CreateFile("b.mp3", "b"));
        RunCopy();
        // The drive holds the first run's copies: copied again, as No to updating them says.
        std::vector<std::string> asked;
        test::AnswerMessageBox(IDNO, &asked);
        ProgressLog second = RunCopy();
        EXPECT_EQ(asked.size(), 1u);
        EXPECT_EQ(second.positions, (std::vector<int>{1, 2, 1, 2}));
        EXPECT_EQ(second.LastText(), "Complete");
    });
}

TEST_F(Copy, RowsAndPrefixAreReadOnceBeforeTheRun) {
    test::RunModal(dlg, [&] {
        AddSource("a.mp3", sources.CreateFile("a.mp3", "a"));
        AddSource("b.mp3", sources.CreateFile("b.mp3", "b"));
        // Untick the box as soon as the first file's step shows.
        g_pLog = nullptr;
        struct Untick {
            static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
                if (message == PBM_STEPIT)
                    ::SendMessageA(::GetDlgItem(::GetParent(hWnd), IDC_ADD_PREFIX), BM_SETCHECK,
                                   BST_UNCHECKED, 0);
                return ::CallWindowProcA(g_pfnProgress, hWnd, message, wParam, lParam);
            }
        };
        HWND hBar = dlg.m_progress.m_hWnd;
        g_pfnProgress = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Untick::Proc)));
        dlg.Command(ID_COPY_FILES);
        ::SetWindowLongPtrA(hBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnProgress));
        // Both names were formed before the box changed.
        EXPECT_EQ(test::TempFolder::FileNames("E:"), (Names{"001_a.mp3", "002_b.mp3"}));
    });
}

TEST_F(Copy, ThousandthEntryTakesFourDigitsAndTheBarStaysRight) {
    test::RunModal(dlg, [&] {
        // Rows 2 to 999 name sources that do not exist; the first and the last are copied, the
        // first with as many digits as the last.
        AddSource("first.mp3", sources.CreateFile("first.mp3", "first"));
        for (int i = 2; i < 1000; ++i)
            AddSource("missing.mp3", sources.PathOf("missing.mp3"));
        AddSource("last.mp3", sources.CreateFile("last.mp3", "last"));
        ProgressLog log = RunCopy();
        EXPECT_EQ(test::TempFolder::FileNames("E:"), (Names{"0001_first.mp3", "1000_last.mp3"}));
        // And the two copies' checks.
        ASSERT_EQ(log.positions.size(), 1002u);
        EXPECT_EQ(log.positions[999], 1000);
        EXPECT_EQ(log.texts[999], "Copying last.mp3(1000 of 1000)...");
        EXPECT_EQ(log.LastText(), "Complete, 998 of 1000 files failed");

        // A thousand text changes and repaints later, GDI objects can still be made...
        std::vector<HGDIOBJ> objects;
        for (int i = 0; i < 1000; ++i)
            objects.push_back(::CreateSolidBrush(RGB(i % 256, 0, 0)));
        for (HGDIOBJ object : objects) {
            EXPECT_NE(object, nullptr);
            ::DeleteObject(object);
        }
        // ...and the full bar still paints in the bar colour.
        test::Picture picture = test::PrintClient(dlg.m_progress);
        COLORREF bar = static_cast<COLORREF>(dlg.m_progress.SendMessage(PPM_GETBARCOLOR));
        EXPECT_EQ(picture.At(3, picture.cy / 2), bar);
        EXPECT_EQ(picture.At(picture.cx - 3, 3), bar);
    });
}

// Windows refuses to replace a read-only file; Wine run as root replaces it anyway. Held open,
// the copy cannot be replaced either way, and what was done to it before the attempt shows.
TEST_F(Copy, AReadOnlyCopyIsMadeWritableForItsReplacementOnlyWhenItIsTheProgramsOwn) {
    if (!test::TempFolder::KeepsAttributes("E:"))
        GTEST_SKIP() << "E:'s driver keeps no read-only attribute";
    const std::string source = sources.CreateFile("a.mp3", "new");
    for (Existing existing : {Existing::kReplace, Existing::kReplaceOwn}) {
        test::TempFolder::WriteFile("E:\\a.mp3", "old", 3);
        ::SetFileAttributesA("E:\\a.mp3", FILE_ATTRIBUTE_READONLY);
        {
            const CHandle hHeld(::CreateFileA("E:\\a.mp3", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
            CStagedCopy copy;
            EXPECT_EQ(copy.Copy(source.c_str(), "E:", "a.mp3", 3, existing), CopyOutcome::kFailed);
        }
        EXPECT_EQ((::GetFileAttributesA("E:\\a.mp3") & FILE_ATTRIBUTE_READONLY) != 0,
                  existing == Existing::kReplace);
        ::SetFileAttributesA("E:\\a.mp3", FILE_ATTRIBUTE_NORMAL);
    }
}

// Packed in 16 bits, a range of 65,537 rows would read as 0 to 1 and show a full bar at once.
TEST_F(Copy, RangeHoldsListsOfSixtyFiveThousandRowsAndMore) {
    test::RunModal(dlg, [&] {
        const int nRows = 65537;
        dlg.AppendEntries(std::vector<CString>(nRows, CString("C:\\missing\\a.mp3")));
        // Esc during the first file ends the run after it.
        ProgressLog log = RunCopy([] {
            ::keybd_event(VK_ESCAPE, 0, 0, 0);
            ::keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
        });
        ASSERT_EQ(log.ranges.size(), 1u);
        EXPECT_EQ(log.ranges[0].iLow, 0);
        EXPECT_EQ(log.ranges[0].iHigh, nRows);
        EXPECT_EQ(log.positions, (std::vector<int>{1}));
        EXPECT_EQ(log.LastText(), "Stopped, 0 of 65537 files copied, 1 failed");
    });
}

}  // namespace
