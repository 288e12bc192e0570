// Adding files through the real open-file dialog, driven as a user would.
#include "res/resource.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <dlgs.h>

#include <memory>

namespace {

struct OpenDialogSeen {
    bool bShown = false;
    std::string filter;  // the first entry of the file type list
};

// Once the open dialog shows: types the folder and presses Open to go there, then
// types the names and presses Open again.
void ChooseInOpenDialog(const std::string& folder, const std::string& names,
                        OpenDialogSeen* pSeen) {
    auto nStep = std::make_shared<int>(0);
    test::WhileModal(
        [=] {
            HWND hOpen = test::FindOwnWindow("Open");
            if (!hOpen || !::IsWindowVisible(hOpen))
                return false;
            pSeen->bShown = true;
            char filter[128] = "";
            ::GetDlgItemTextA(hOpen, cmb1, filter, sizeof(filter));
            pSeen->filter = filter;
            HWND hName = ::GetDlgItem(hOpen, cmb13);
            if (!hName)
                hName = ::GetDlgItem(hOpen, edt1);
            ::SetWindowTextA(hName, *nStep == 0 ? folder.c_str() : names.c_str());
            ::SendMessageA(hOpen, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(hOpen, IDOK)));
            return ++*nStep == 2;
        },
        20000);
}

TEST(OpenFileDialog, ChosenFilesAreAppendedUnselectedInTheDialogsOrder) {
    test::TempFolder folder("open-dialog");
    for (const char* name : {"b.mp3", "a.jpg", "c.avi"})
        folder.CreateFile(name, "x");
    test::PlaylistDlgProbe dlg;
    OpenDialogSeen seen;
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
    OpenDialogSeen seen;
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
    OpenDialogSeen seen;
    test::RunModal(dlg, [&] {
        ChooseInOpenDialog(folder.Path(), typed, &seen);
        dlg.Command(ID_ADD_FILES);
        ASSERT_TRUE(seen.bShown);
        ASSERT_EQ(dlg.m_playlist.GetItemCount(), nFiles);
        EXPECT_STREQ(dlg.m_playlist.GetItemText(nFiles - 1, 0), "track_with_long_name_0399.mp3");
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
