// Volume events sent to the window as the system sends them, and Open Device and Format
// Device as they reach the shell, against the test prefix's drives (E: and G: removable).
#include "framework/Shell.h"
#include "res/resource.h"
#include "tests/drives/DriveChecks.h"
#include "tests/support/Capture.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"

#include <dbt.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// Fills the drive list with the entries of a text such as "E: G:", selects nSelected and
// marks the capacity text.
void Prepare(test::PlaylistDlgProbe& dlg, const std::string& entries, int nSelected) {
    dlg.m_driveCombo.ResetContent();
    std::istringstream words(entries);
    for (std::string entry; words >> entry;)
        dlg.m_driveCombo.AddString(entry.c_str());
    dlg.m_driveCombo.SetCurSel(nSelected);
    dlg.m_driveCombo.UpdateWindow();  // shown as it stands before the events
    dlg.m_capacityText.SetWindowText("kept");
}

std::string Listed(const test::PlaylistDlgProbe& dlg) {
    std::string listed;
    for (const std::string& entry : test::Entries(dlg.m_driveCombo))
        listed += (listed.empty() ? "" : " ") + entry;
    return listed;
}

// The capacity text to expect: "kept", " ", or a drive such as "E:" whose figures it shows.
struct ExpectedCapacity {
    explicit ExpectedCapacity(const std::string& text)
        : m_text(text), m_root(text.size() == 2 ? text + "\\" : "") {
        if (!m_root.empty())
            m_before = test::QueryCapacity(m_root.c_str());
    }
    void Check(const test::PlaylistDlgProbe& dlg) const {
        if (m_root.empty())
            EXPECT_EQ(std::string(dlg.m_capacityText.GetWindowText()), m_text);
        else
            test::ExpectCapacityOf(m_root.c_str(), m_before, dlg.m_capacityText.GetWindowText());
    }
    std::string m_text, m_root;
    test::Capacity m_before;
};

// "+G" sends G:'s arrival, "-E" E:'s removal. A record's mask has a bit for each letter after
// the sign, 'A' being bit 0: "+EG" names two drives, "+" none, "+[" bit 26, past Z.
void SendEvents(test::PlaylistDlgProbe& dlg, const std::string& events) {
    std::istringstream words(events);
    for (std::string word; words >> word;) {
        DWORD mask = 0;
        for (char letter : word.substr(1))
            mask |= 1UL << (letter - 'A');
        DEV_BROADCAST_VOLUME volume = {sizeof(volume), DBT_DEVTYP_VOLUME, 0, mask, 0};
        UINT nType = word[0] == '+' ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
        EXPECT_EQ(dlg.SendMessage(WM_DEVICECHANGE, nType, reinterpret_cast<LPARAM>(&volume)), 0);
    }
}

TEST(DeviceEvents, VolumesArriveAndLeave) {
    const struct {
        const char *name, *before;
        int nSelectedBefore;
        const char *events, *after;
        int nSelectedAfter;
        const char* capacity;
    } cases[] = {
        {"arrival into an empty list", "", -1, "+G", "G:", 0, "G:"},
        {"arrival beside a selection", "E: G:", 1, "+F", "E: G: F:", 1, "kept"},
        {"arrival after the selected drive left", "E: G:", 0, "-E +F", "G: F:", 0, "G:"},
        {"a drive announced twice", "", -1, "+E +E", "E: E:", 0, "E:"},
        {"the selected drive removed", "E: G:", 0, "-E", "G:", -1, " "},
        {"another drive removed", "E: G:", 1, "-E", "G:", 0, "kept"},
        {"an unlisted drive removed", "E: G:", 0, "-Q", "E: G:", 0, "kept"},
        {"an unlisted drive removed, none selected", "E: G:", -1, "-Q", "E: G:", -1, " "},
        {"masks of several drives or none", "E: G:", -1, "+EG -EG + -", "E: G:", -1, "kept"},
        {"masks past Z", "E:", -1, "+[ -`", "E:", -1, "kept"},
    };
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            Prepare(dlg, c.before, c.nSelectedBefore);
            ExpectedCapacity capacity(c.capacity);
            SendEvents(dlg, c.events);
            EXPECT_EQ(Listed(dlg), c.after);
            EXPECT_EQ(dlg.m_driveCombo.GetCurSel(), c.nSelectedAfter);
            capacity.Check(dlg);
            // On the screen the list shows what it holds, as a full repaint draws it.
            test::PumpMessages();
            test::Picture shown = test::Screen(dlg.m_driveCombo);
            dlg.m_driveCombo.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            EXPECT_TRUE(shown == test::Screen(dlg.m_driveCombo));
        }
    });
}

// A read of the guard page clears its guard; carrying on lets the test report it.
LONG CALLBACK ContinueAfterGuardHit(EXCEPTION_POINTERS* pException) {
    return pException->ExceptionRecord->ExceptionCode == STATUS_GUARD_PAGE_VIOLATION
               ? EXCEPTION_CONTINUE_EXECUTION
               : EXCEPTION_CONTINUE_SEARCH;
}

// Records the window must not read: a guard page, and a header that ends where it begins.
TEST(DeviceEvents, OtherEventsAndRecordsAreIgnoredUntouched) {
    const SIZE_T page = 4096;
    auto* pages = static_cast<BYTE*>(::VirtualAlloc(nullptr, 2 * page, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    BYTE* pGuard = pages + page;
    auto* pHeader = reinterpret_cast<DEV_BROADCAST_HDR*>(pGuard - sizeof(DEV_BROADCAST_HDR));
    auto* pShort = reinterpret_cast<BYTE*>(pHeader);
    const struct {
        UINT nType;
        BYTE* pRecord;
        DWORD nSize, nDeviceType;
    } cases[] = {
        {DBT_DEVICEARRIVAL, nullptr, 0, 0},
        {DBT_DEVICEREMOVECOMPLETE, nullptr, 0, 0},
        {DBT_DEVICEQUERYREMOVE, pGuard, 0, 0},
        {DBT_DEVICEREMOVEPENDING, pGuard, 0, 0},
        {DBT_DEVNODES_CHANGED, pGuard, 0, 0},
        {DBT_CUSTOMEVENT, pGuard, 0, 0},
        {DBT_DEVICEARRIVAL, pShort, sizeof(DEV_BROADCAST_VOLUME), DBT_DEVTYP_PORT},
        {DBT_DEVICEREMOVECOMPLETE, pShort, 32, DBT_DEVTYP_DEVICEINTERFACE},
        {DBT_DEVICEARRIVAL, pShort, sizeof(DEV_BROADCAST_HDR), DBT_DEVTYP_VOLUME},
    };
    PVOID pHandler = ::AddVectoredExceptionHandler(1, ContinueAfterGuardHit);
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        Prepare(dlg, "E: G:", -1);
        for (const auto& c : cases) {
            SCOPED_TRACE("event " + std::to_string(c.nType) + ", type " +
                         std::to_string(c.nDeviceType));
            *pHeader = {c.nSize, c.nDeviceType, 0};
            DWORD oldProtect = 0;
            ::VirtualProtect(pGuard, page, PAGE_READWRITE | PAGE_GUARD, &oldProtect);
            LPARAM lParam = reinterpret_cast<LPARAM>(c.pRecord);
            EXPECT_EQ(dlg.SendMessage(WM_DEVICECHANGE, c.nType, lParam), 0);
            MEMORY_BASIC_INFORMATION info = {};
            ::VirtualQuery(pGuard, &info, sizeof(info));
            EXPECT_TRUE(info.Protect & PAGE_GUARD) << "the window read past the record";
        }
        EXPECT_EQ(Listed(dlg), "E: G:");
        EXPECT_EQ(dlg.m_driveCombo.GetCurSel(), CB_ERR);
        EXPECT_EQ(std::string(dlg.m_capacityText.GetWindowText()), "kept");
    });
    ::RemoveVectoredExceptionHandler(pHandler);
    ::VirtualFree(pages, 0, MEM_RELEASE);
}

// What reached the shell through the framework's table of shell calls, in order.
std::string g_shellCalls;
HWND g_hDialog = nullptr;

HINSTANCE WINAPI LogShellExecute(HWND hWnd, LPCSTR lpVerb, LPCSTR lpFile, LPCSTR lpParameters,
                                 LPCSTR lpDirectory, INT nShowCmd) {
    bool defaults = !hWnd && !lpVerb && !lpParameters && !lpDirectory;
    g_shellCalls += std::string("open ") + lpFile + (defaults ? "" : " with more") + " show " +
                    std::to_string(nShowCmd) + "; ";
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_FNF));
}

DWORD WINAPI LogFormatDrive(HWND hWnd, UINT nDrive, UINT nFormatID, UINT nOptions) {
    g_shellCalls += "format " + std::to_string(nDrive) + " id " + std::to_string(nFormatID) +
                    " options " + std::to_string(nOptions) +
                    (hWnd == g_hDialog ? " over the window; " : "; ");
    return SHFMT_ERROR;
}

// Presses a toolbar button as the mouse would: the toolbar sends its command on release.
void ClickButton(CToolBar& bar, UINT nID) {
    CRect rc;
    bar.SendMessage(TB_GETRECT, nID, reinterpret_cast<LPARAM>(&rc));
    LPARAM point = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
    bar.SendMessage(WM_LBUTTONUP, 0, point);
}

TEST(DeviceCommands, TheSelectedDriveReachesTheShell) {
    const struct {
        const char *name, *entries;
        int nSelected;
        const char *calls, *capacity;
    } cases[] = {
        {"E: selected", "E: G:", 0, "open E: show 5; format 4 id 65535 options 0 over the window; ",
         "E:"},
        {"nothing selected", "E: G:", -1, "", "kept"},
        // Q: was listed and has gone: no other drive's figures may stand for its own.
        {"a vanished drive", "E: Q:", 1,
         "open Q: show 5; format 16 id 65535 options 0 over the window; ", " "},
    };
    AfxShellCalls saved = AfxShell();
    AfxShell().pfnShellExecute = LogShellExecute;
    AfxShell().pfnFormatDrive = LogFormatDrive;
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        g_hDialog = dlg.m_hWnd;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            g_shellCalls.clear();
            Prepare(dlg, c.entries, c.nSelected);
            ExpectedCapacity capacity(c.capacity);
            ClickButton(dlg.m_toolBar, ID_OPEN_DEVICE);
            ClickButton(dlg.m_toolBar, ID_FORMAT_DEVICE);
            EXPECT_EQ(g_shellCalls, c.calls);
            capacity.Check(dlg);
            EXPECT_EQ(Listed(dlg), c.entries);
        }
    });
    AfxShell() = saved;
}

}  // namespace
