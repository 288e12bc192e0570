// The playlist window as set up: template controls, toolbar, list, menu, icons.
#include "res/resource.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

struct ExpectedControl {
    int nID;
    const char* className;
    const char* text;
    DWORD style;
};

// The template's controls in template order; -1 IDs are found by position.
const ExpectedControl kControls[] = {
    {-1, "Static", "Please select Removable device", 0x50020000},
    {IDC_DRIVE_COMBO, "ComboBox", "E:", 0x50210003},
    {IDC_CAPACITY_TEXT, "Static", nullptr, 0x50020000},          // text depends on the drive
    {IDC_BANNER, "Static", "Static", 0x50820000 & ~WS_VISIBLE},  // hidden by the toolbar
    {IDC_INFO_LABEL, "Static", nullptr, 0x40020000},
    {IDC_TITLE_LABEL, "Static", "  Create and Edit Playlist", 0x40020000},
    {IDC_PLAYLIST, "SysListView32", "Playlist", 0x50810001 | LVS_SHAREIMAGELISTS},
    {-1, "Button", "Destination", 0x50000007},
    {-1, "Button", "", 0x50000007},
    // The arrow buttons paint themselves; their texts name them for screen readers.
    {IDC_MOVE_UP, "Button", "Move Up", 0x50010000 | BS_OWNERDRAW},
    {IDC_MOVE_DOWN, "Button", "Move Down", 0x50010000 | BS_OWNERDRAW},
    {IDC_REMOVE, "Button", "Remove", 0x50010000 | BS_OWNERDRAW},
    {IDC_CLEAR, "Button", "Clear", 0x50010000 | BS_OWNERDRAW},
    {IDC_PROGRESS, "msctls_progress32", "Progress1", 0x50800000},
    {IDC_ADD_PREFIX, "Button", "Add Prefix", 0x50010003},
    {IDC_REFRESH, "Button", "Refresh", 0x40010000},
};

std::string ClassOf(HWND hWnd) {
    char name[64] = "";
    ::GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

std::string TextOf(HWND hWnd) {
    char text[512] = "";
    ::GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

class WindowLayout : public ::testing::Test {
protected:
    test::PlaylistDlgProbe dlg;
};

TEST_F(WindowLayout, DialogIsTheFixedSizeToolWindow) {
    test::RunModal(dlg, [&] {
        EXPECT_EQ(TextOf(dlg.m_hWnd), "Ovelo Playlist Tool");
        DWORD style = dlg.GetStyle();
        EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE),
                  static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE));
        EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
        EXPECT_TRUE(::GetWindowLongPtrA(dlg.m_hWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        // The first tab stop, the drive list, has the focus.
        EXPECT_EQ(::GetFocus(), dlg.GetDlgItem(IDC_DRIVE_COMBO));
    });
}

TEST_F(WindowLayout, EveryTemplateControlExistsInOrderWithItsClassStyleAndText) {
    test::RunModal(dlg, [&] {
        std::vector<HWND> templateChildren;
        for (HWND h = ::GetWindow(dlg.m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            if (h != dlg.m_toolBar.m_hWnd)
                templateChildren.push_back(h);
        }
        ASSERT_EQ(templateChildren.size(), std::size(kControls));
        for (size_t i = 0; i < templateChildren.size(); ++i) {
            SCOPED_TRACE("template row " + std::to_string(i + 1));
            HWND h = templateChildren[i];
            const ExpectedControl& expected = kControls[i];
            EXPECT_EQ(::GetDlgCtrlID(h), expected.nID);
            EXPECT_STRCASEEQ(ClassOf(h).c_str(), expected.className);
            // Controls turn a border into an edge style and add scroll bars as they need.
            const DWORD platformOwned = WS_BORDER | WS_HSCROLL | WS_VSCROLL;
            DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(h, GWL_STYLE));
            EXPECT_EQ(style & ~platformOwned, expected.style & ~platformOwned);

            if (expected.text) {
                EXPECT_EQ(TextOf(h), expected.text);
            }
        }
    });
}

TEST_F(WindowLayout, InstructionTextIsSetWordForWordAndLabelsStayHidden) {
    test::RunModal(dlg, [&] {
        EXPECT_EQ(TextOf(dlg.GetDlgItem(IDC_INFO_LABEL)),
                  "     Add media files to create a playlist. The files will play in the order "
                  "shown here.Change the order by dragging and dropping\n     or by using the "
                  "arrow buttons.save you playlist  and  copy files to removalble device when "
                  "you finished.");
        EXPECT_FALSE(::IsWindowVisible(dlg.GetDlgItem(IDC_INFO_LABEL)));
        EXPECT_FALSE(::IsWindowVisible(dlg.GetDlgItem(IDC_TITLE_LABEL)));
        EXPECT_FALSE(::IsWindowVisible(dlg.GetDlgItem(IDC_REFRESH)));
    });
}

TEST_F(WindowLayout, ToolbarTakesTheBannersPlaceSixPixelsIn) {
    test::RunModal(dlg, [&] {
        ASSERT_TRUE(::IsWindow(dlg.m_toolBar.m_hWnd));
        EXPECT_EQ(dlg.m_toolBar.GetDlgCtrlID(), AFX_IDW_TOOLBAR);
        EXPECT_EQ(dlg.m_toolBar.GetParent(), dlg.m_hWnd);
        EXPECT_TRUE(dlg.m_toolBar.IsWindowVisible());
        EXPECT_FALSE(dlg.m_bannerLabel.IsWindowVisible());

        // The banner's template rectangle in pixels, as the dialog's units give it.
        CRect banner(0, 1, 407, 1 + 38);
        ::MapDialogRect(dlg.m_hWnd, &banner);
        CRect toolbar;
        dlg.m_toolBar.GetWindowRect(&toolbar);
        ::MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<LPPOINT>(&toolbar), 2);
        EXPECT_EQ(toolbar.left, banner.left + 6);
        EXPECT_EQ(toolbar.top, banner.top);
        EXPECT_EQ(toolbar.right, banner.right);
        // The control itself keeps room for its buttons and the divider line above them,
        // which with a font of 13 pixels is a pixel more than the banner's 38 units.
        const int nLeast = HIWORD(dlg.m_toolBar.SendMessage(TB_GETBUTTONSIZE)) + 2;
        EXPECT_EQ(toolbar.bottom, std::max<LONG>(banner.bottom, toolbar.top + nLeast));
    });
}

TEST_F(WindowLayout, ToolbarHasFourCaptionedFlatButtonsAndASeparator) {
    test::RunModal(dlg, [&] {
        CToolBar& bar = dlg.m_toolBar;
        ASSERT_EQ(bar.GetCount(), 5);
        const UINT ids[] = {ID_ADD_FILES, ID_COPY_FILES, 0, ID_OPEN_DEVICE, ID_FORMAT_DEVICE};
        const char* texts[] = {"  Add Files  ", "  Copy Files  ", nullptr, "Open Device",
                               "Format Device"};
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE("button " + std::to_string(i));
            EXPECT_EQ(bar.GetItemID(i), ids[i]);
            if (texts[i]) {
                EXPECT_EQ(std::string(bar.GetButtonText(i)), texts[i]);
            }
            TBBUTTON button = {};
            bar.SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
            EXPECT_EQ(button.fsStyle == BTNS_SEP, ids[i] == 0);
            if (ids[i]) {
                EXPECT_TRUE(button.fsState & TBSTATE_ENABLED);
            }
        }
        EXPECT_TRUE(bar.GetStyle() & TBSTYLE_FLAT);
        EXPECT_EQ(bar.GetBarStyle(),
                  static_cast<DWORD>(CBRS_ALIGN_TOP | CBRS_TOOLTIPS | CBRS_FLYBY));
        LRESULT size = bar.SendMessage(TB_GETBUTTONSIZE);
        EXPECT_EQ(LOWORD(size), 90);
        EXPECT_EQ(HIWORD(size), 60);
        // The pictograms' lists: normal, hot and disabled, four 32 x 32 images each.
        for (UINT message : {TB_GETIMAGELIST, TB_GETHOTIMAGELIST, TB_GETDISABLEDIMAGELIST}) {
            auto hList = reinterpret_cast<HIMAGELIST>(bar.SendMessage(message));
            int cx = 0, cy = 0;
            ImageList_GetIconSize(hList, &cx, &cy);
            EXPECT_EQ(cx, 32);
            EXPECT_EQ(cy, 32);
            EXPECT_EQ(ImageList_GetImageCount(hList), 4);
        }
    });
}

struct TooltipSearch {
    HWND hTool;
    std::string text;
};

BOOL CALLBACK AskTooltip(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<TooltipSearch*>(lParam);
    if (ClassOf(hWnd) != TOOLTIPS_CLASSA)
        return TRUE;
    char text[80] = "";
    TTTOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = ::GetParent(pSearch->hTool);
    tool.uId = reinterpret_cast<UINT_PTR>(pSearch->hTool);
    tool.lpszText = text;
    ::SendMessageA(hWnd, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    pSearch->text = text;
    return pSearch->text.empty();
}

// The tip that a tooltip of this thread shows over the window hTool; empty if none does.
std::string TipOf(HWND hTool) {
    TooltipSearch search = {hTool, ""};
    ::EnumThreadWindows(::GetCurrentThreadId(), AskTooltip, reinterpret_cast<LPARAM>(&search));
    return search.text;
}

TEST_F(WindowLayout, TooltipsNameEachCommandAndItsKey) {
    test::RunModal(dlg, [&] {
        for (const auto& [nID, expected] :
             std::vector<std::pair<UINT, std::string>>{{ID_ADD_FILES, "Add Files (Ins)"},
                                                       {ID_COPY_FILES, "Copy Files (F5)"},
                                                       {ID_OPEN_DEVICE, "Open Device"},
                                                       {ID_FORMAT_DEVICE, "Format Device"}}) {
            char text[80] = "";
            NMTBGETINFOTIPA tip = {};
            tip.hdr.hwndFrom = dlg.m_toolBar.m_hWnd;
            tip.hdr.idFrom = AFX_IDW_TOOLBAR;
            tip.hdr.code = TBN_GETINFOTIPA;
            tip.pszText = text;
            tip.cchTextMax = sizeof(text);
            tip.iItem = static_cast<int>(nID);
            dlg.SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&tip));
            EXPECT_EQ(text, expected);
        }
        for (const auto& [nID, expected] :
             std::vector<std::pair<int, std::string>>{{IDC_MOVE_UP, "Move Up (Alt+Up)"},
                                                      {IDC_MOVE_DOWN, "Move Down (Alt+Down)"},
                                                      {IDC_REMOVE, "Remove (Del)"},
                                                      {IDC_CLEAR, "Clear"}}) {
            EXPECT_EQ(TipOf(dlg.GetDlgItem(nID)), expected);
        }
    });
}

TEST_F(WindowLayout, ListHasTwoColumnsGridAndTheShellsIcons) {
    test::RunModal(dlg, [&] {
        const char* headings[] = {"FileName", "Path"};
        for (int i = 0; i < 2; ++i) {
            char text[32] = "";
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.pszText = text;
            column.cchTextMax = sizeof(text);
            ASSERT_TRUE(
                dlg.m_playlist.SendMessage(LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
            EXPECT_STREQ(text, headings[i]);
            EXPECT_EQ(column.cx, 300);
            EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        }
        HWND hHeader = reinterpret_cast<HWND>(dlg.m_playlist.SendMessage(LVM_GETHEADER));
        EXPECT_EQ(::SendMessageA(hHeader, HDM_GETITEMCOUNT, 0, 0), 2);
        EXPECT_EQ(dlg.m_playlist.GetExtendedStyle() & 0x21u, 0x21u);

        // The shell's small-icon list comes with the first row, not with the window.
        EXPECT_EQ(dlg.m_playlist.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL), 0);
        dlg.AddRows({"song.mp3"});
        SHFILEINFOA info = {};
        auto hSystem = reinterpret_cast<HIMAGELIST>(
            ::SHGetFileInfoA("", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
        EXPECT_EQ(dlg.m_sysImageList.GetSafeHandle(), hSystem);
        EXPECT_EQ(dlg.m_playlist.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL),
                  reinterpret_cast<LRESULT>(hSystem));
    });
}

TEST_F(WindowLayout, ShellsImageListOutlivesTheWindow) {
    test::RunModal(dlg, [&] { dlg.AddRows({"song.mp3"}); });
    SHFILEINFOA info = {};
    auto hSystem = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA("", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ASSERT_NE(hSystem, nullptr);
    EXPECT_GT(ImageList_GetImageCount(hSystem), 0);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(hSystem, &cx, &cy));
}

TEST_F(WindowLayout, AddPrefixIsTickedAtEveryStart) {
    for (int run = 0; run < 2; ++run) {
        test::PlaylistDlgProbe fresh;
        test::RunModal(fresh, [&] {
            EXPECT_EQ(fresh.m_addPrefixCheck.GetCheck(), BST_CHECKED);
            fresh.m_addPrefixCheck.SetCheck(BST_UNCHECKED);
        });
    }
}

TEST_F(WindowLayout, WindowCarriesTheApplicationIcon) {
    test::RunModal(dlg, [&] {
        ASSERT_NE(dlg.m_hIcon, nullptr);
        EXPECT_EQ(dlg.SendMessage(WM_GETICON, ICON_BIG), reinterpret_cast<LRESULT>(dlg.m_hIcon));
        EXPECT_EQ(dlg.SendMessage(WM_GETICON, ICON_SMALL), reinterpret_cast<LRESULT>(dlg.m_hIcon));
        EXPECT_EQ(dlg.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(dlg.m_hIcon));
    });
}

}  // namespace
