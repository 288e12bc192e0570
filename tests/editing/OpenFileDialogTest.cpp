// Adding files through the real open-file dialog, driven as a user would.
#include "res/resource.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/OpenDialog.h"
#include "tests/support/PlaylistDlgProbe.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

// Once the open dialog shows: goes to the folder, types the names and presses Open.
void ChooseInOpenDialog(const std::string& folder, const std::string& names,
                        test::OpenDialogSeen* pSeen) {
    test::ChooseInOpenDialog({folder, names, 0, nullptr}, pSeen);
}

TEST(OpenFileDialog, ChosenFilesAreAppendedUnselectedInTheDialogsOrder) {
    test::TempFolder folder("open-dialog");
    for (const char* name : {"b.mp3", "a.jpg", "c.avi"})
        folder.CreateFile(name, "x");
    test::PlaylistDlgProbe dlg;
    test::OpenDialogSeen seen;
    test::RunModal(dlg, [&] {
        dlg.AddRows({"old.mp3"});
        ChooseInOpenDialog(folder.Path(), "\"b.mp3\" \"a.jpg\" \"c.avi\"", &seen);
        dlg.Command(ID_ADD_FILES);

        ASSERT_TRUE(seen.bShown);
        EXPECT_EQ(seen.filter, "Media files files");
        EXPECT_EQ(dlg.Names(), (std::vector<std::string>{"old.mp3", "b.mp3", "a.jpg", "c.avi"}));
        EXPECT_STRCASEEQ(dlg.m_playlist.GetItemText(2, 1), folder.PathOf("a.jpg").c_str());
        EXPECT_TRUE(dlg.Selected().empty());
    });
}

TEST(OpenFileDialog, OneChosenFileIsAddedWithItsFullPath) {
    test::TempFolder folder("open-one");
    folder.CreateFile("only.mp3", "x");
    test::PlaylistDlgProbe dlg;
    test::OpenDialogSeen seen;
    test::RunModal(dlg, [&] {
        ChooseInOpenDialog(folder.Path(), "only.mp3", &seen);
        dlg.Command(ID_ADD_FILES);
        ASSERT_EQ(dlg.m_playlist.GetItemCount(), 1);
        EXPECT_STREQ(dlg.m_playlist.GetItemText(0, 0), "only.mp3");
        EXPECT_STRCASEEQ(dlg.m_playlist.GetItemText(0, 1), folder.PathOf("only.mp3").c_str());
    });
}

TEST(OpenFileDialog, HundredsOfChosenFilesAllArrive) {
    // More names than fit into 5,000 characters.
    test::TempFolder folder("open-many");
    std::string typed;
    const int nFiles = 400;
    for (int i = 0; i < nFiles; ++i) {
        char name[40];
        wsprintfA(name, "track_with_long_name_%04d.mp3", i);
        folder.CreateFile(name, "x");
        typed += std::string("\"") + name + "\" ";
    }
    ASSERT_GT(typed.size(), 5000u);
    test::PlaylistDlgProbe dlg;
    test::OpenDialogSeen seen;
    test::RunModal(dlg, [&] {
        ChooseInOpenDialog(folder.Path(), typed, &seen);
        dlg.Command(ID_ADD_FILES);
        ASSERT_TRUE(seen.bShown);
        ASSERT_EQ(dlg.m_playlist.GetItemCount(), nFiles);
        EXPECT_STREQ(dlg.m_playlist.GetItemText(nFiles - 1, 0), "track_with_long_name_0399.mp3");
    });
}

// Seen before: 2,600 names of 127,400 characters added 2,128 rows, the last one cut off.
TEST(OpenFileDialog, ThousandsOfLongNamesAllArriveWhole) {
    test::TempFolder folder("open-long");
    std::string typed;
    const int nFiles = 2600;
    for (int i = 0; i < nFiles; ++i) {
        char name[64];
        wsprintfA(name, "Some Artist - A Rather Long Song Title %04d.mp3", i);
        folder.CreateFile(name, "x");
        typed += std::string("\"") + name + "\" ";
    }
    ASSERT_GT(typed.size(), 100000u);  // more than the window's own buffer holds
    test::PlaylistDlgProbe dlg;
    test::OpenDialogSeen seen;
    test::RunModal(dlg, [&] {
        ChooseInOpenDialog(folder.Path(), typed, &seen);
        dlg.Command(ID_ADD_FILES);
        ASSERT_EQ(dlg.m_playlist.GetItemCount(), nFiles);
        EXPECT_STREQ(dlg.m_playlist.GetItemText(nFiles - 1, 0),
                     "Some Artist - A Rather Long Song Title 2599.mp3");
        for (int i = 0; i < nFiles; ++i)
            ASSERT_NE(::GetFileAttributesA(dlg.m_playlist.GetItemText(i, 1)),
                      INVALID_FILE_ATTRIBUTES)
                << "row " << i;
    });
}

TEST(OpenFileDialog, CancelAddsNothing) {
    test::PlaylistDlgProbe dlg;
    bool bShown = false;
    test::RunModal(dlg, [&] {
        dlg.AddRows({"kept.mp3"});
        test::WhileModal(
            [&] {
                HWND hOpen = test::FindOwnWindow("Open");
                if (!hOpen || !::IsWindowVisible(hOpen))
                    return false;
                bShown = true;
                ::PostMessageA(hOpen, WM_COMMAND, IDCANCEL, 0);
                return true;
            },
            20000);
        dlg.Command(ID_ADD_FILES);
        EXPECT_TRUE(bShown);
        EXPECT_EQ(dlg.Names(), (std::vector<std::string>{"kept.mp3"}));
    });
}

}  // namespace
