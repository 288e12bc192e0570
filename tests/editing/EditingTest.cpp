// Reordering, removing and opening playlist rows through the window's commands.
#include "framework/String.h"
#include "res/resource.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

class Editing : public ::testing::Test {
protected:
    // Runs body with the window up and rows A..E (or the given ones) in the list.
    void WithRows(std::initializer_list<const char*> rows, std::function<void()> body) {
        test::RunModal(dlg, [&] {
            dlg.AddRows(rows);
            body();
        });
    }
    test::PlaylistDlgProbe dlg;
};

TEST_F(Editing, RowHoldsNamePathAndTheShellIconOfItsType) {
    WithRows({}, [&] {
        dlg.InsertEntry("song.mp3", "C:\\media\\song.mp3", 0);
        EXPECT_STREQ(dlg.m_playlist.GetItemText(0, 0), "song.mp3");
        EXPECT_STREQ(dlg.m_playlist.GetItemText(0, 1), "C:\\media\\song.mp3");
        LVITEMA item = {};
        item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        dlg.m_playlist.SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        SHFILEINFOA info = {};
        ::SHGetFileInfoA("x.mp3", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                         SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
        EXPECT_EQ(item.iImage, info.iIcon);
        EXPECT_EQ(item.lParam, 0);
        EXPECT_EQ(item.state, 0u);
    });
}

// Added rows ask the shell once per extension; each must still carry its own type's icon.
TEST_F(Editing, AddedRowsCarryTheIconOfTheirOwnType) {
    // Installers have an icon of their own here; the folder's dot is no extension.
    const char* const paths[] = {"C:\\m\\a.msi",     "C:\\m\\b.mp3", "C:\\m\\c.MSI",
                                 "C:\\m.msi\\noext", "C:\\m\\d.avi", "C:\\m\\e.Msi"};
    WithRows({}, [&] {
        dlg.AppendEntries(std::vector<CString>(std::begin(paths), std::end(paths)));
        for (int i = 0; i < static_cast<int>(std::size(paths)); ++i) {
            LVITEMA item = {};
            item.mask = LVIF_IMAGE;
            item.iItem = i;
            dlg.m_playlist.SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            SHFILEINFOA info = {};
            ::SHGetFileInfoA(paths[i], FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                             SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
            EXPECT_EQ(item.iImage, info.iIcon) << paths[i];
        }
    });
}

// In code page 932 ソ is 83 5C and 表 is 95 5C: their second byte is the backslash's code.
const char kSjisSong[] = "\x83\x5C\x83\x93\x83\x4F.mp3";            // ソング.mp3
const char kSjisFolder[] = "C:\\\x83\x66\x81\x5B\x83\x5E\x95\x5C";  // C:\データ表

TEST(FileName, IsWhatFollowsTheLastBackslashOrSlashOrTheWholePath) {
    const std::string sjisPath = std::string(kSjisFolder) + "\\" + kSjisSong;
    const struct {
        const char* path;
        UINT nCodePage;
        const char* name;
    } cases[] = {
        {"C:\\a\\b\\song.mp3", CP_ACP, "song.mp3"},
        {"song.mp3", CP_ACP, "song.mp3"},
        {"E:\\", CP_ACP, ""},
        // Slashes too: a copy takes this name into the drive's root, never a folder of it.
        {"C:\\a/b\\c/song.mp3", CP_ACP, "song.mp3"},
        {"..\\../x/../song.mp3", CP_ACP, "song.mp3"},
        {"C:\\\xE9\x9F\xB3\\\xE3\x82\xBD.mp3", CP_UTF8, "\xE3\x82\xBD.mp3"},
        {sjisPath.c_str(), 932, kSjisSong},
        {sjisPath.c_str(), 936, kSjisSong},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(FileNameOfPath(c.path, c.nCodePage), c.name);
    }
    // The open dialog's folder and names, joined: 表 at the end is no separator.
    EXPECT_EQ(std::string(JoinPath(kSjisFolder, "a.mp3", 932)),
              std::string(kSjisFolder) + "\\a.mp3");
    EXPECT_STREQ(JoinPath("E:\\", "a.mp3"), "E:\\a.mp3");
}

TEST_F(Editing, UpMovesEachSelectedRowAboveItsNeighbour) {
    // C is a name of 100 characters in 300 bytes, as UTF-8 spells them: it must move whole.
    std::string c;
    for (int i = 0; i < 100; ++i)
        c += "\xE3\x81\x82";
    WithRows({"A", "B", c.c_str(), "D", "E"}, [&] {
        dlg.Select({1, 3});
        dlg.Notify(IDC_MOVE_UP, BN_CLICKED);
        EXPECT_EQ(dlg.Names(), (Names{"B", "A", "D", c, "E"}));
        EXPECT_EQ(dlg.Selected(), (Names{"B", "D"}));
        EXPECT_EQ(dlg.m_playlist.GetNextItem(-1, LVNI_FOCUSED), 2);
        EXPECT_EQ(::GetFocus(), dlg.m_playlist.m_hWnd);
    });
}

TEST_F(Editing, UpWithTheTopRowSelectedMovesNothing) {
    WithRows({"A", "B", "C"}, [&] {
        dlg.Select({0, 2});
        dlg.Notify(IDC_MOVE_UP, BN_CLICKED);
        EXPECT_EQ(dlg.Names(), (Names{"A", "B", "C"}));
        EXPECT_EQ(dlg.Selected(), (Names{"A", "C"}));
    });
}

TEST_F(Editing, DownMovesTheRowBelowTheSelectionToItsTop) {
    WithRows({"A", "B", "C", "D"}, [&] {
        dlg.Select({1, 2});
        dlg.Notify(IDC_MOVE_DOWN, BN_CLICKED);
        EXPECT_EQ(dlg.Names(), (Names{"A", "D", "B", "C"}));
        EXPECT_EQ(dlg.Selected(), (Names{"B", "C"}));
    });
}

TEST_F(Editing, DownWithAGapShiftsTheUnselectedRowsInBetweenToo) {
    WithRows({"A", "B", "C", "D", "E"}, [&] {
        dlg.Select({1, 3});
        dlg.Notify(IDC_MOVE_DOWN, BN_CLICKED);
        EXPECT_EQ(dlg.Names(), (Names{"A", "E", "B", "C", "D"}));
        EXPECT_EQ(dlg.Selected(), (Names{"B", "D"}));
    });
}

TEST_F(Editing, DownAtTheBottomOrWithoutSelectionChangesNothing) {
    WithRows({"A", "B", "C"}, [&] {
        dlg.Select({2});
        dlg.Notify(IDC_MOVE_DOWN, BN_CLICKED);
        EXPECT_EQ(dlg.Names(), (Names{"A", "B", "C"}));
        dlg.Select({});
        dlg.Notify(IDC_MOVE_DOWN, BN_CLICKED);
        dlg.Notify(IDC_MOVE_UP, BN_CLICKED);
        dlg.Notify(IDC_REMOVE, BN_CLICKED);
        EXPECT_EQ(dlg.Names(), (Names{"A", "B", "C"}));
    });
}

TEST_F(Editing, RemoveTakesOutTheSelectedRowsOnly) {
    WithRows({"A", "B", "C", "D"}, [&] {
        dlg.Select({1, 2});
        dlg.Notify(IDC_REMOVE, BN_CLICKED);
        EXPECT_EQ(dlg.Names(), (Names{"A", "D"}));
        EXPECT_EQ(::GetFocus(), dlg.m_playlist.m_hWnd);
        dlg.Select({0, 1});
        dlg.Notify(IDC_REMOVE, BN_CLICKED);
        EXPECT_EQ(dlg.m_playlist.GetItemCount(), 0);
    });
}

// Adding, moving up and removing hold the list's painting while they work; afterwards the
// list must be visible again and due for a repaint, or the user sees stale rows.
TEST_F(Editing, ManyRowEditsLeaveTheListShowingTheirResult) {
    WithRows({"A", "B", "C", "D"}, [&] {
        auto expectRepaintDue = [&](const char* lpszAfter) {
            SCOPED_TRACE(lpszAfter);
            EXPECT_TRUE(dlg.m_playlist.IsWindowVisible());
            RECT rcUpdate;
            EXPECT_TRUE(::GetUpdateRect(dlg.m_playlist, &rcUpdate, FALSE));
            ::UpdateWindow(dlg.m_playlist);
        };
        ::UpdateWindow(dlg.m_playlist);
        dlg.AppendEntries({"C:\\media\\E", "C:\\media\\F"});
        expectRepaintDue("adding");
        EXPECT_EQ(dlg.Names(), (Names{"A", "B", "C", "D", "E", "F"}));
        dlg.Select({1, 3});
        dlg.Notify(IDC_MOVE_UP, BN_CLICKED);
        expectRepaintDue("moving up");
        dlg.Notify(IDC_REMOVE, BN_CLICKED);
        expectRepaintDue("removing");
        EXPECT_EQ(dlg.Names(), (Names{"A", "C", "E", "F"}));
    });
}

TEST_F(Editing, DraggedSelectionLandsAsABlockInItsOrderAndStaysSelected) {
    const struct {
        std::initializer_list<int> selected;
        int nBefore;
        Names names;
    } cases[] = {
        {{0, 1}, 5, {"C", "D", "E", "A", "B", "F"}},  // down past three rows
        {{3, 4}, 1, {"A", "D", "E", "B", "C", "F"}},  // up
        {{0, 2, 4}, 6, {"B", "D", "F", "A", "C", "E"}},
        {{1, 3}, 3, {"A", "C", "B", "D", "E", "F"}},  // into the span of a broken selection
        {{1, 2}, 2, {"A", "B", "C", "D", "E", "F"}},  // onto itself
    };
    WithRows({}, [&] {
        for (const auto& c : cases) {
            dlg.m_playlist.DeleteAllItems();
            dlg.AddRows({"A", "B", "C", "D", "E", "F"});
            dlg.Select(c.selected);
            Names selected = dlg.Selected();
            dlg.MoveSelectionTo(c.nBefore);
            SCOPED_TRACE(c.nBefore);
            EXPECT_EQ(dlg.Names(), c.names);
            EXPECT_EQ(dlg.Selected(), selected);
        }
    });
}

TEST_F(Editing, ClearEmptiesTheListAndLeavesTheFocus) {
    WithRows({"A", "B"}, [&] {
        // A click gives the skinned button the focus, as a real press would; from there the
        // command must not move it on (the other buttons' commands give it to the list).
        ::SetFocus(dlg.GetDlgItem(IDC_CLEAR));
        HWND hFocus = ::GetFocus();
        dlg.Notify(IDC_CLEAR, BN_CLICKED);
        EXPECT_EQ(dlg.m_playlist.GetItemCount(), 0);
        EXPECT_EQ(::GetFocus(), hFocus);
    });
}

TEST_F(Editing, DoubleClickWithoutSelectionOpensNothingAndAnswersZero) {
    WithRows({"A"}, [&] {
        NMITEMACTIVATE activate = {};
        activate.hdr = {dlg.m_playlist.m_hWnd, IDC_PLAYLIST, static_cast<UINT>(NM_DBLCLK)};
        activate.iItem = -1;
        EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, IDC_PLAYLIST, reinterpret_cast<LPARAM>(&activate)), 0);
    });
}

}  // namespace
