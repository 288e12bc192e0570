// The image toolbar: lists cut from the program's strips, their transparent background,
// handles released on every path, and drop-down menus shown under their button.
#include "controls/toolbar/ImageToolBar.h"
#include "res/resource.h"
#include "tests/support/Capture.h"
#include "tests/support/GdiPressure.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/Pump.h"
#include "tests/toolbar/TestResources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT kGetList[3] = {TB_GETIMAGELIST, TB_GETHOTIMAGELIST, TB_GETDISABLEDIMAGELIST};

// The playlist window's toolbar, in a window of its own.
void CreateBar(CImageToolBar& bar, CWnd& parent) {
    ASSERT_TRUE(bar.Create(&parent));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TOOLBAR));
    bar.SetSizes(CSize(90, 60), CSize(32, 32));
    ::MoveWindow(bar, 0, 0, 500, 70, TRUE);
}

class ImageToolBar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.CreateEx(0, test::TestWindowClass(), "toolbar", WS_POPUP | WS_VISIBLE,
                                    CRect(100, 100, 600, 300), nullptr, 0));
        CreateBar(bar, parent);
    }
    HIMAGELIST List(int nState) const {
        return reinterpret_cast<HIMAGELIST>(bar.SendMessage(kGetList[nState]));
    }

    CWnd parent;
    CImageToolBar bar;
};

TEST_F(ImageToolBar, InstallsEachRequestedListAndStopsAtTheFirstFailure) {
    const struct {
        const char* name;
        int cxImage;
        UINT ids[3];  // normal, hot, disabled
        BOOL result;
        int images[3];  // images of the new list, -1 where the old list must stay
    } cases[] = {
        {"the window's lists", 32, {132, 132, 134}, TRUE, {4, 4, 4}},
        {"a strip of 130 pixels", 32, {IDB_STRIP_130, 0, 0}, TRUE, {4, -1, -1}},
        {"no hot list", 32, {132, 0, 134}, TRUE, {4, -1, 4}},
        {"no disabled list", 32, {132, 132, 0}, TRUE, {4, 4, -1}},
        {"normal bitmap missing", 32, {IDB_MISSING, 132, 134}, FALSE, {-1, -1, -1}},
        {"hot bitmap missing", 32, {132, IDB_MISSING, 134}, FALSE, {4, -1, -1}},
        {"disabled bitmap missing", 32, {132, 132, IDB_MISSING}, FALSE, {4, 4, -1}},
        {"strip narrower than one image", 129, {132, 132, 134}, FALSE, {-1, -1, -1}},
        {"no image width", 0, {132, 132, 134}, FALSE, {-1, -1, -1}},
        {"negative image width", -32, {132, 132, 134}, FALSE, {-1, -1, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(bar.SetImageLists(32, 134, 134, 132));  // lists to keep or to replace
        HIMAGELIST before[3] = {List(0), List(1), List(2)};
        EXPECT_EQ(bar.SetImageLists(c.cxImage, c.ids[0], c.ids[1], c.ids[2]), c.result);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE("list " + std::to_string(i));
            if (c.images[i] < 0) {
                EXPECT_EQ(List(i), before[i]);
                continue;
            }
            EXPECT_NE(List(i), before[i]);
            int cx = 0, cy = 0;
            ImageList_GetIconSize(List(i), &cx, &cy);
            EXPECT_EQ(ImageList_GetImageCount(List(i)), c.images[i]);
            EXPECT_EQ(cx, c.cxImage);
            EXPECT_EQ(cy, 32);
        }
    }
}

// The strip's pixels as stored in the program, top row first.
test::Picture Strip(UINT idBitmap) {
    CBitmap bitmap(
        static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(idBitmap),
                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info = {};
    bitmap.GetBitmap(&info);
    return test::Capture(info.bmWidth, info.bmHeight, [&](HDC hDC) {
        CMemoryDC source;
        source.CreateCompatibleDC(hDC);
        CSelectGuard guard(source, bitmap);
        ::BitBlt(hDC, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    });
}

// Every pixel of a strip's background colour, its first pixel's at every depth, shows what
// lies under the image, on two grounds; every other pixel shows the strip's own colour.
TEST_F(ImageToolBar, StripBackgroundIsTransparent) {
    const UINT sets[][3] = {
        {IDB_TOOLBAR_NORMAL, IDB_TOOLBAR_NORMAL, IDB_TOOLBAR_DISABLED},  // normal, hot, disabled
        {IDB_STRIP_1BPP, IDB_STRIP_4BPP, IDB_STRIP_8BPP},                // palette indices
        {IDB_STRIP_16BPP, IDB_STRIP_16BPP, IDB_STRIP_16BPP}};            // packed channels
    for (const auto& ids : sets) {
        ASSERT_TRUE(bar.SetImageLists(32, ids[0], ids[1], ids[2]));
        for (int nState = 0; nState < 3; ++nState) {
            test::Picture strip = Strip(ids[nState]);
            const COLORREF kBackground = strip.At(0, 31);  // bottom left: first in memory
            EXPECT_TRUE(ids[0] != IDB_TOOLBAR_NORMAL || kBackground == RGB(236, 233, 216));
            for (int image = 0; image < 4; ++image) {
                SCOPED_TRACE("bitmap " + std::to_string(ids[nState]) + ", image " +
                             std::to_string(image));
                int x0 = 32 * image;
                // The square's corners and its surroundings are background in the artwork.
                for (POINT corner : {POINT{0, 0}, POINT{31, 0}, POINT{0, 31}, POINT{31, 31}})
                    EXPECT_EQ(strip.At(x0 + corner.x, corner.y), kBackground);
                for (COLORREF ground : {RGB(255, 0, 255), RGB(0, 96, 0)}) {
                    test::Picture drawn = test::Capture(
                        32, 32,
                        [&](HDC hDC) {
                            ImageList_Draw(List(nState), image, hDC, 0, 0, ILD_TRANSPARENT);
                        },
                        ground);
                    int nWrong = 0;
                    for (int y = 0; y < 32; ++y) {
                        for (int x = 0; x < 32; ++x) {
                            COLORREF source = strip.At(x0 + x, y);
                            nWrong += drawn.At(x, y) != (source == kBackground ? ground : source);
                        }
                    }
                    EXPECT_EQ(nWrong, 0);
                }
            }
        }
    }
}

// A leaked list or bitmap per call soon uses up what the squeeze leaves.
TEST(ImageToolBarHandles, ListsAndBitmapsAreReleasedOnEveryPath) {
    CWnd parent;
    ASSERT_TRUE(
        parent.CreateEx(0, test::TestWindowClass(), "toolbar", WS_POPUP, CRect(), nullptr, 0));
    test::GdiSqueeze squeeze(1200);
    for (int i = 0; i < 300; ++i) {
        CImageToolBar bar;
        CreateBar(bar, parent);
        bar.SetImageLists(32, IDB_TOOLBAR_NORMAL, IDB_TOOLBAR_NORMAL, IDB_TOOLBAR_DISABLED);
        bar.SetImageLists(32, IDB_TOOLBAR_DISABLED, 0, IDB_TOOLBAR_NORMAL);  // replaces two
        bar.SetImageLists(129, IDB_TOOLBAR_NORMAL, 0, 0);  // fails after loading the strip
    }
    EXPECT_TRUE(test::CanStillCreateGdiObjects());
}

// While a drop-down runs its menu, notes the popup's items and where it stands, then picks
// item nPick with the keyboard, or closes it when nPick is -1.
class MenuWatcher {
public:
    explicit MenuWatcher(int nPick) : m_nTimer(::SetTimer(nullptr, 0, 20, Tick)) {
        s_nPick = nPick;
        s_items.clear();
    }
    MenuWatcher(const MenuWatcher&) = delete;
    MenuWatcher& operator=(const MenuWatcher&) = delete;
    ~MenuWatcher() { ::KillTimer(nullptr, m_nTimer); }

    static inline std::string s_items;  // "First one|First two|"
    static inline CRect s_rc;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND hPopup = ::FindWindowA("#32768", nullptr);  // the popup menu's window class
        if (!s_items.empty() || !hPopup || !::IsWindowVisible(hPopup))
            return;
        auto hMenu = reinterpret_cast<HMENU>(::SendMessageA(hPopup, MN_GETHMENU, 0, 0));
        for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
            char text[64] = "";
            ::GetMenuStringA(hMenu, i, text, sizeof(text), MF_BYPOSITION);
            s_items += std::string(text) + "|";
        }
        ::GetWindowRect(hPopup, &s_rc);
        for (int i = 0; i <= s_nPick; ++i)
            ::PostMessageA(hPopup, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(hPopup, WM_KEYDOWN, s_nPick < 0 ? VK_ESCAPE : VK_RETURN, 0);
    }

    static inline int s_nPick = -1;
    UINT_PTR m_nTimer;
};

TEST_F(ImageToolBar, DropDownShowsTheFirstEntrysMenuUnderTheButtonForItsOwner) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, test::TestWindowClass(), "owner", WS_POPUP, CRect(), nullptr, 0));
    const struct {
        const char* name;
        UINT idMenus[2];  // entries for the Open Device button; 0 for none
        int nPick;
        const char* items;
        UINT idCommand;  // what reaches the owner, or 0
    } cases[] = {
        {"one entry, an item picked", {IDM_FIRST_MENU, 0}, 1, "First one|First two|", ID_FIRST_TWO},
        {"two entries, closed", {IDM_FIRST_MENU, IDM_SECOND_MENU}, -1, "First one|First two|", 0},
        {"an empty table", {0, 0}, -1, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CImageToolBar dropBar;
        CreateBar(dropBar, parent);
        for (UINT idMenu : c.idMenus)
            ASSERT_TRUE(!idMenu || dropBar.AddDropDown(ID_OPEN_DEVICE, idMenu, &owner));
        test::MessageRecorder recorder({WM_COMMAND});
        recorder.Watch(owner);
        recorder.Watch(parent, test::kParent);
        CRect rcButton;
        dropBar.SendMessage(TB_GETRECT, ID_OPEN_DEVICE, reinterpret_cast<LPARAM>(&rcButton));
        {
            MenuWatcher watcher(c.nPick);
            if (c.idMenus[0]) {  // a click on the arrow
                LPARAM arrow = MAKELPARAM(rcButton.right - 3, rcButton.top + rcButton.Height() / 2);
                dropBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, arrow);
                dropBar.SendMessage(WM_LBUTTONUP, 0, arrow);
            } else {  // a plain button sends no TBN_DROPDOWN: sent here as the control would
                NMTOOLBARA notify = {};
                notify.hdr = {dropBar.m_hWnd, AFX_IDW_TOOLBAR, static_cast<UINT>(TBN_DROPDOWN)};
                notify.iItem = ID_OPEN_DEVICE;
                parent.SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&notify));
            }
        }
        EXPECT_EQ(MenuWatcher::s_items, c.items);
        dropBar.ClientToScreen(&rcButton);
        if (*c.items) {  // under the button
            EXPECT_EQ(MenuWatcher::s_rc.left, rcButton.left);
            EXPECT_EQ(MenuWatcher::s_rc.top, rcButton.bottom);
        }
        test::PumpMessages();
        std::vector<test::Msg> expected;
        if (c.idCommand)
            expected.push_back({WM_COMMAND, test::kPosted | test::kWParam, c.idCommand});
        EXPECT_TRUE(recorder.Matches(expected));
    }
}

}  // namespace
