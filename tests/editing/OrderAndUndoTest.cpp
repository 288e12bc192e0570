// Sorting the rows and undoing and redoing every kind of change, with the selection.
#include "res/resource.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Names = std::vector<std::string>;

class OrderAndUndo : public ::testing::Test {
protected:
    // The rows' names with '*' before the selected ones, as a person reads the list.
    std::string Look() {
        std::string look;
        for (int i = 0; i < dlg.m_playlist.GetItemCount(); ++i)
            look += std::string(i ? "," : "") +
                    (dlg.m_playlist.GetItemState(i, LVIS_SELECTED) ? "*" : "") +
                    static_cast<LPCSTR>(dlg.m_playlist.GetItemText(i, 0));
        return look;
    }
    void SetRows(std::initializer_list<const char*> paths) {
        dlg.m_playlist.DeleteAllItems();
        for (const char* path : paths)
            dlg.InsertEntry(FileNameOfPath(path), path, dlg.m_playlist.GetItemCount());
    }
    test::PlaylistDlgProbe dlg;
};

TEST_F(OrderAndUndo, EveryChangeUndoesAndRedoesWithItsSelection) {
    const struct {
        const char* what;
        std::initializer_list<int> selected;
        std::function<void(test::PlaylistDlgProbe&)> change;
    } cases[] = {
        {"add",
         {1},
         [](auto& d) {
             d.AppendEntries({"C:\\m\\F", "C:\\m\\G"});
         }},
        {"move up", {1, 3}, [](auto& d) { d.Notify(IDC_MOVE_UP, BN_CLICKED); }},
        {"move down", {1, 2}, [](auto& d) { d.Notify(IDC_MOVE_DOWN, BN_CLICKED); }},
        {"remove", {0, 2}, [](auto& d) { d.Notify(IDC_REMOVE, BN_CLICKED); }},
        {"clear", {4}, [](auto& d) { d.Notify(IDC_CLEAR, BN_CLICKED); }},
        {"drag", {0, 1}, [](auto& d) { d.MoveSelectionTo(4); }},
        {"sort by name", {0}, [](auto& d) { d.Command(ID_SORT_BY_NAME); }},
        {"sort by folder", {}, [](auto& d) { d.Command(ID_SORT_BY_FOLDER); }},
        {"reverse", {1, 2}, [](auto& d) { d.Command(ID_SORT_REVERSE); }},
    };
    test::RunModal(dlg, [&] {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            SetRows({"C:\\m\\b\\E", "C:\\m\\D", "C:\\m\\a\\C", "C:\\m\\B", "C:\\m\\A"});
            dlg.Select(c.selected);
            const std::string before = Look();
            c.change(dlg);
            const std::string after = Look();
            EXPECT_NE(after, before);
            dlg.Command(ID_EDIT_UNDO);
            EXPECT_EQ(Look(), before);
            dlg.Command(ID_EDIT_REDO);
            EXPECT_EQ(Look(), after);
            dlg.Command(ID_EDIT_UNDO);
            EXPECT_EQ(Look(), before);
        }
    });
}

TEST_F(OrderAndUndo, UndoGoesAHundredChangesBackAndANewChangeEndsRedo) {
    test::RunModal(dlg, [&] {
        for (int i = 1; i <= 101; ++i)
            dlg.AppendEntries({CString("C:\\m\\r") + std::to_string(i).c_str()});
        for (int i = 0; i < 101; ++i)
            dlg.Command(ID_EDIT_UNDO);
        EXPECT_EQ(Look(), "r1");
        for (int i = 0; i < 50; ++i)
            dlg.Command(ID_EDIT_REDO);
        EXPECT_EQ(dlg.m_playlist.GetItemCount(), 51);
        dlg.Select({0});
        dlg.Notify(IDC_REMOVE, BN_CLICKED);
        dlg.Command(ID_EDIT_REDO);
        EXPECT_EQ(dlg.m_playlist.GetItemCount(), 50);
        dlg.Command(ID_EDIT_UNDO);
        EXPECT_EQ(dlg.m_playlist.GetItemCount(), 51);
    });
}

TEST_F(OrderAndUndo, SortsTheSelectionAmongItsPlacesOrElseTheWholeList) {
    const struct {
        UINT nCommand;
        std::initializer_list<int> selected;
        const char* look;
    } cases[] = {
        // Digits as numbers, case ignored; one selected row sorts the whole list and goes along.
        {ID_SORT_BY_NAME, {3}, "Track 1.mp3,Track 2.mp3,*track 3.mp3,Track 10.mp3,x.mp3"},
        {ID_SORT_BY_NAME, {0, 1, 4}, "*Track 1.mp3,*Track 10.mp3,Track 2.mp3,track 3.mp3,*x.mp3"},
        // Folder by folder, a folder's subfolders before its own files.
        {ID_SORT_BY_FOLDER, {}, "Track 2.mp3,track 3.mp3,Track 10.mp3,Track 1.mp3,x.mp3"},
        {ID_SORT_REVERSE, {1, 3}, "x.mp3,*track 3.mp3,Track 2.mp3,*Track 10.mp3,Track 1.mp3"},
    };
    test::RunModal(dlg, [&] {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.look);
            SetRows({"C:\\m\\x.mp3", "C:\\m\\CD 10\\Track 10.mp3", "C:\\m\\CD 2\\Track 2.mp3",
                     "C:\\m\\CD 2\\track 3.mp3", "C:\\m\\Track 1.mp3"});
            dlg.Select(c.selected);
            dlg.Command(c.nCommand);
            EXPECT_EQ(Look(), c.look);
        }
    });
}

// Presses Esc as the bar first says that tags are being read.
LRESULT CALLBACK PressEscWhenReading(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR nID, DWORD_PTR) {
    if (message == WM_SETTEXT &&
        std::strncmp(reinterpret_cast<LPCSTR>(lParam), "Reading tags", 12) == 0) {
        ::keybd_event(VK_ESCAPE, 0, 0, 0);
        ::keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
        ::RemoveWindowSubclass(hWnd, PressEscWhenReading, nID);
    }
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

TEST_F(OrderAndUndo, EscWhileTagsAreReadLeavesTheListAndTheBarAsTheyWere) {
    test::RunModal(dlg, [&] {
        SetRows({"C:\\m\\b.mp3", "C:\\m\\a.mp3", "C:\\m\\c.flac"});
        dlg.m_progress.SetWindowText("Complete");
        ::SetForegroundWindow(dlg.m_hWnd);
        ::SetWindowSubclass(dlg.m_progress.m_hWnd, PressEscWhenReading, 1, 0);
        dlg.Command(ID_SORT_BY_TAGS);
        EXPECT_EQ(Look(), "b.mp3,a.mp3,c.flac");
        EXPECT_STREQ(dlg.m_progress.GetWindowText(), "Complete");
        // Without Esc: files without tags, by name.
        dlg.Command(ID_SORT_BY_TAGS);
        EXPECT_EQ(Look(), "a.mp3,b.mp3,c.flac");
    });
}

}  // namespace
