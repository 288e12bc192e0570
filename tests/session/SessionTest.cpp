// A long session against the real playlist window with the GDI handle space nearly used up:
// the pointer moved over every button and clicked through the system's own input, copies, and
// volumes arriving and leaving. Wine counts no handles, so a leak shows as handles that can
// no longer be made, and as pixels that are no longer right.
#include "res/resource.h"
#include "tests/support/Capture.h"
#include "tests/support/GdiPressure.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"
#include "tests/support/TempFolder.h"

#include <dbt.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

const Names kRows = {"a.mp3", "b.mp3", "c.mp3", "d.mp3"};

class Session {
public:
    explicit Session(test::PlaylistDlgProbe& dlg) : m_dlg(dlg) {}

    // The pointer onto the middle of a window, as the mouse would move it there.
    void PointAt(HWND hWnd) {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        PointAt(rc.CenterPoint());
    }
    void PointAt(POINT pt) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dx = ::MulDiv(pt.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = ::MulDiv(pt.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        ::SendInput(1, &input, sizeof(input));
        test::PumpUntil([&] {
            POINT now;
            return ::GetCursorPos(&now) && now.x == pt.x && now.y == pt.y;
        });
        test::PumpMessages();
    }
    void Click() {
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_MOUSE;
        inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ::SendInput(2, inputs, sizeof(INPUT));
    }
    // Waits until an arrow button is drawn lit (raised frame) or flat, and says whether it was.
    bool ShowsLit(int nButton, bool bLit) {
        HWND hButton = m_dlg.GetDlgItem(nButton);
        const COLORREF edge = ::GetSysColor(bLit ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE);
        return test::PumpUntil([&] { return test::Screen(hButton).At(0, 1) == edge; }, 2000);
    }
    // Row b moved down and up again with the arrow buttons.
    void MoveDownAndUp() {
        m_dlg.Select({1});
        for (int nButton : {IDC_MOVE_DOWN, IDC_MOVE_UP}) {
            PointAt(m_dlg.GetDlgItem(nButton));
            Click();
            const Names moved = {"a.mp3", "c.mp3", "b.mp3", "d.mp3"};
            EXPECT_TRUE(test::PumpUntil(
                [&] { return m_dlg.Names() == (nButton == IDC_MOVE_DOWN ? moved : kRows); }));
        }
    }
    // The volume records the system sends: the selected E: leaves and comes back, then G:
    // does the same, which makes E: first and selected again.
    void DriveEvents() {
        for (const char* event : {"-E", "+E", "-G", "+G"}) {
            DEV_BROADCAST_VOLUME volume = {sizeof(volume), DBT_DEVTYP_VOLUME, 0,
                                           1UL << (event[1] - 'A'), 0};
            m_dlg.SendMessage(WM_DEVICECHANGE,
                              event[0] == '+' ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                              reinterpret_cast<LPARAM>(&volume));
        }
    }
    // Where the pointer lights nothing: the window's face below the list.
    void Park() {
        CRect rc;
        ::GetWindowRect(m_dlg.GetDlgItem(IDC_PLAYLIST), &rc);
        PointAt(CPoint(rc.right - 20, rc.bottom + 2));
    }
    // The window's client area as it shows, but for the capacity text: free space changes.
    test::Picture Shown() {
        Park();
        m_dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        test::Picture picture = test::Screen(m_dlg);
        CRect rcCapacity;
        m_dlg.m_capacityText.GetWindowRect(&rcCapacity);
        m_dlg.ScreenToClient(&rcCapacity);
        for (int y = rcCapacity.top; y < rcCapacity.bottom; ++y)
            for (int x = rcCapacity.left; x < rcCapacity.right; ++x)
                picture.pixels[y * picture.cx + x] = 0;
        return picture;
    }

private:
    test::PlaylistDlgProbe& m_dlg;
};

TEST(Session, HoversClicksCopiesAndDriveEventsLeaveHandlesAndPixelsAsTheyWere) {
    test::TempFolder media("session");
    std::vector<CString> paths;
    for (const std::string& name : kRows)
        paths.push_back(media.CreateFile(name, name).c_str());
    test::TempFolder::RemoveContents("E:", true);
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        Session session(dlg);
        dlg.AppendEntries(paths);
        session.MoveDownAndUp();
        dlg.Command(ID_COPY_FILES);
        const test::Picture before = session.Shown();

        const int nRounds = 200;
        int nLit = 0;
        {
            test::GdiSqueeze squeeze;
            // Down first: the round before ended on up, which took its click with the pointer
            // still over it, so only a move away and back lights it again.
            const int arrows[] = {IDC_MOVE_DOWN, IDC_MOVE_UP, IDC_REMOVE, IDC_CLEAR};
            for (int round = 1; round <= nRounds; ++round) {
                for (int nButton : arrows) {
                    session.PointAt(dlg.GetDlgItem(nButton));
                    nLit += session.ShowsLit(nButton, true);
                }
                // Across the toolbar's buttons, and off the last arrow button.
                CRect rcBar;
                dlg.m_toolBar.GetWindowRect(&rcBar);
                for (int x = rcBar.left + 45; x < rcBar.right; x += 90)
                    session.PointAt(CPoint(x, rcBar.top + 20));
                nLit += session.ShowsLit(IDC_CLEAR, false);
                session.MoveDownAndUp();
                if (round % 5 == 0) {
                    // E: holds the earlier copy: copied again all the same, as No says.
                    std::vector<std::string> asked;
                    test::AnswerMessageBox(IDNO, &asked);
                    dlg.Command(ID_COPY_FILES);
                    EXPECT_STREQ(dlg.m_progress.GetWindowText(), "Complete");
                    EXPECT_EQ(asked.size(), 1u);
                }
                if (round % 10 == 0)
                    session.DriveEvents();
            }
            EXPECT_TRUE(test::CanStillCreateGdiObjects());
        }
        EXPECT_EQ(nLit, 5 * nRounds);  // every button lit under the pointer, and let go
        EXPECT_EQ(test::TempFolder::FileNames("E:"),
                  (Names{"001_a.mp3", "002_b.mp3", "003_c.mp3", "004_d.mp3"}));
        EXPECT_STREQ(dlg.m_driveCombo.GetWindowText(), "E:");
        EXPECT_TRUE(session.Shown() == before);
    });
    test::TempFolder::RemoveContents("E:", true);
}

}  // namespace
