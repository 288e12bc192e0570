// e2e_probe: reads and drives the running program's windows from outside, as run.sh asks.
// Each sub-command prints what it saw and exits 0 only when everything matched.
#include "controls/progress/PercentProgressCtrl.h"
#include "res/resource.h"
#include "res/version.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kProgramFile[] = "OveloPlaylist.exe";
const char kMainTitle[] = "Ovelo Playlist Tool";
const char kAboutTitle[] = "About Ovelo";
const char kVersionLine[] = OVELO_VERSION_LINE;

const int kDriveCombo = IDC_DRIVE_COMBO;
const int kCapacityText = IDC_CAPACITY_TEXT;
const int kPlaylist = IDC_PLAYLIST;
const int kAddPrefix = IDC_ADD_PREFIX;
const UINT kAboutCommand = IDM_ABOUTBOX;

// Answers from the other process must come quickly; a hung window is a failure, not a wait.
const UINT kSendTimeoutMs = 5000;

int g_failures = 0;

void Fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::fputs("FAIL: ", stdout);
    std::vprintf(format, args);
    std::fputs("\n", stdout);
    va_end(args);
    ++g_failures;
}

void Ok(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::fputs("ok: ", stdout);
    std::vprintf(format, args);
    std::fputs("\n", stdout);
    va_end(args);
}

int Result() {
    std::fflush(stdout);
    return g_failures ? 1 : 0;
}

// SendMessage bounded in time; false when the target did not answer.
bool Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(hWnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                               &result)) {
        Fail("window %p did not answer message 0x%X", static_cast<void*>(hWnd), message);
        return false;
    }
    *pResult = static_cast<LRESULT>(result);
    return true;
}

LRESULT SendOr(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT fallback) {
    LRESULT result = 0;
    return Send(hWnd, message, wParam, lParam, &result) ? result : fallback;
}

std::string WindowText(HWND hWnd) {
    // WM_GETTEXT is marshalled across processes for every window class.
    char buffer[2048] = {};
    LRESULT length = 0;
    if (!Send(hWnd, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer), &length))
        return "<no answer>";
    return std::string(buffer);
}

std::string ClassName(HWND hWnd) {
    char buffer[256] = {};
    ::GetClassNameA(hWnd, buffer, sizeof(buffer));
    return buffer;
}

// True when hWnd belongs to a process started from OveloPlaylist.exe; other tests may
// show windows with the same titles from their own executables meanwhile.
bool IsProgramWindow(HWND hWnd) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!hProcess)
        return false;
    char path[MAX_PATH] = {};
    DWORD size = sizeof(path);
    bool ok = ::QueryFullProcessImageNameA(hProcess, 0, path, &size) != FALSE;
    ::CloseHandle(hProcess);
    const char* name = std::strrchr(path, '\\');
    name = name ? name + 1 : path;
    return ok && ::lstrcmpiA(name, kProgramFile) == 0;
}

struct FindRequest {
    const char* title;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND hWnd, LPARAM lParam) {
    auto* request = reinterpret_cast<FindRequest*>(lParam);
    char title[256] = {};
    ::GetWindowTextA(hWnd, title, sizeof(title));
    // The program's message boxes carry the main window's title, but the main window has no owner.
    bool ownedMain = std::strcmp(request->title, kMainTitle) == 0 && ::GetWindow(hWnd, GW_OWNER);
    if (std::strcmp(title, request->title) != 0 || ownedMain ||
        (request->visibleOnly && !::IsWindowVisible(hWnd)) || !IsProgramWindow(hWnd))
        return TRUE;
    request->found = hWnd;
    return FALSE;
}

// The program's top-level window with exactly this title, or nullptr.
HWND FindProgramWindow(const char* title, bool visibleOnly) {
    FindRequest request = {title, visibleOnly, nullptr};
    ::EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

HWND FindTopLevel(const char* title) { return FindProgramWindow(title, true); }

template <class Pred> bool WaitFor(Pred done, DWORD timeoutMs) {
    ULONGLONG start = ::GetTickCount64();
    while (!done()) {
        if (::GetTickCount64() - start >= timeoutMs)
            return done();
        ::Sleep(50);
    }
    return true;
}

HWND RequireMain() {
    HWND hMain = FindTopLevel(kMainTitle);
    if (!hMain)
        Fail("no visible window titled \"%s\"", kMainTitle);
    return hMain;
}

// Memory in another window's process, where that window's control can read and write records.
class RemoteMemory {
public:
    RemoteMemory(HWND hWnd, SIZE_T size) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        m_hProcess =
            ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        m_remote = m_hProcess ? static_cast<char*>(::VirtualAllocEx(m_hProcess, nullptr, size,
                                                                    MEM_COMMIT, PAGE_READWRITE))
                              : nullptr;
        if (!m_remote)
            Fail("cannot use memory in process %lu (error %lu)", pid, ::GetLastError());
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory() {
        if (m_remote)
            ::VirtualFreeEx(m_hProcess, m_remote, 0, MEM_RELEASE);
        if (m_hProcess)
            ::CloseHandle(m_hProcess);
    }
    char* At(SIZE_T offset) const { return m_remote + offset; }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
        return m_remote && ::WriteProcessMemory(m_hProcess, At(offset), data, size, nullptr);
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const {
        return m_remote && ::ReadProcessMemory(m_hProcess, At(offset), data, size, nullptr);
    }

private:
    HANDLE m_hProcess = nullptr;
    char* m_remote = nullptr;
};

// Reads a list-view column title through memory in the list's own process, since the
// LVCOLUMN record and its text buffer must live where the list view can write them.
bool ReadColumnTitle(HWND hList, int column, std::string* pTitle) {
    const SIZE_T kTextSize = 256;
    RemoteMemory remote(hList, sizeof(LVCOLUMNA) + kTextSize);
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = remote.At(sizeof(LVCOLUMNA));
    col.cchTextMax = static_cast<int>(kTextSize);
    char text[kTextSize] = {};
    LRESULT got = 0;
    if (!remote.Write(0, &col, sizeof(col)) || !remote.Write(sizeof(LVCOLUMNA), text, kTextSize) ||
        !Send(hList, LVM_GETCOLUMNA, static_cast<WPARAM>(column),
              reinterpret_cast<LPARAM>(remote.At(0)), &got) ||
        !remote.Read(sizeof(LVCOLUMNA), text, kTextSize)) {
        Fail("cannot exchange column %d through the list view's process", column);
        return false;
    }
    if (!got) {
        Fail("LVM_GETCOLUMN failed for column %d", column);
        return false;
    }
    text[kTextSize - 1] = '\0';
    *pTitle = text;
    return true;
}

bool DiskSpace(const char* drive, ULONGLONG* pFreeMb, ULONGLONG* pTotalMb) {
    std::string root = std::string(drive) + "\\";
    ULARGE_INTEGER available, total, totalFree;
    if (!::GetDiskFreeSpaceExA(root.c_str(), &available, &total, &totalFree))
        return false;
    *pFreeMb = totalFree.QuadPart >> 20;
    *pTotalMb = total.QuadPart >> 20;
    return true;
}

// Parses "Free: <n> MB, Total: <n> MB" exactly: plain decimal numbers, nothing around them.
bool ParseCapacity(const std::string& text, ULONGLONG* pFree, ULONGLONG* pTotal) {
    unsigned long long freeMb = 0, totalMb = 0;
    int consumed = -1;
    if (std::sscanf(text.c_str(), "Free: %llu MB, Total: %llu MB%n", &freeMb, &totalMb,
                    &consumed) != 2 ||
        consumed != static_cast<int>(text.size()))
        return false;
    char rebuilt[128];
    std::snprintf(rebuilt, sizeof(rebuilt), "Free: %llu MB, Total: %llu MB", freeMb, totalMb);
    if (text != rebuilt)
        return false;
    *pFree = freeMb;
    *pTotal = totalMb;
    return true;
}

void CheckDriveList(HWND hMain) {
    HWND hCombo = ::GetDlgItem(hMain, kDriveCombo);
    if (!hCombo) {
        Fail("no drive list (control %d)", kDriveCombo);
        return;
    }
    // The test prefix maps E: and G: as removable drives; without them nothing below holds.
    for (const char* root : {"E:\\", "G:\\"}) {
        if (::GetDriveTypeA(root) != DRIVE_REMOVABLE)
            Fail("environment: %s is not a removable drive in this Wine prefix", root);
    }
    LRESULT count = SendOr(hCombo, CB_GETCOUNT, 0, 0, -1);
    const char* expected[] = {"E:", "G:"};
    if (count != 2)
        Fail("drive list has %ld entries, expected 2", static_cast<long>(count));
    for (LRESULT i = 0; i < count && i < 16; ++i) {
        wchar_t wide[64] = {};
        char text[64] = {};
        LRESULT length = SendOr(hCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, -1);
        if (length < 0 || length >= static_cast<LRESULT>(sizeof(text))) {
            Fail("drive entry %ld has length %ld", static_cast<long>(i), static_cast<long>(length));
            continue;
        }
        // Wine hands a cross-process CB_GETLBTEXTA back unconverted, so ask in UTF-16.
        DWORD_PTR ignored = 0;
        if (!::SendMessageTimeoutW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                   reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                                   &ignored))
            Fail("drive list did not answer CB_GETLBTEXT");
        ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
        if (i < 2 && std::strcmp(text, expected[i]) == 0)
            Ok("drive entry %ld is \"%s\"", static_cast<long>(i), text);
        else
            Fail("drive entry %ld is \"%s\"%s%s", static_cast<long>(i), text,
                 i < 2 ? ", expected " : "", i < 2 ? expected[i] : "");
    }
    LRESULT selection = SendOr(hCombo, CB_GETCURSEL, 0, 0, -2);
    if (selection == 0)
        Ok("entry 0 is selected");
    else
        Fail("selected drive entry is %ld, expected 0", static_cast<long>(selection));
    std::string shown = WindowText(hCombo);
    if (shown == "E:")
        Ok("drive list shows \"E:\"");
    else
        Fail("drive list shows \"%s\", expected \"E:\"", shown.c_str());
}

// freeBeforeMb is the drive's free space read before the program read it; the program's own
// reading lies between it and the current one, give or take what other programs on the shared
// host disk wrote and deleted meanwhile.
void CheckCapacity(HWND hMain, const char* drive, ULONGLONG freeBeforeMb) {
    HWND hText = ::GetDlgItem(hMain, kCapacityText);
    if (!hText) {
        Fail("no capacity text (control %d)", kCapacityText);
        return;
    }
    std::string text = WindowText(hText);
    ULONGLONG shownFree = 0, shownTotal = 0, nowFree = 0, nowTotal = 0;
    if (!ParseCapacity(text, &shownFree, &shownTotal)) {
        Fail("capacity text \"%s\" is not \"Free: <n> MB, Total: <n> MB\"", text.c_str());
        return;
    }
    if (!DiskSpace(drive, &nowFree, &nowTotal)) {
        Fail("GetDiskFreeSpaceExA(%s\\) failed here (error %lu)", drive, ::GetLastError());
        return;
    }
    const ULONGLONG kSlackMb = 16;
    ULONGLONG low = freeBeforeMb < nowFree ? freeBeforeMb : nowFree;
    low = low > kSlackMb ? low - kSlackMb : 0;
    ULONGLONG high = (freeBeforeMb < nowFree ? nowFree : freeBeforeMb) + kSlackMb;
    if (shownFree >= low && shownFree <= high)
        Ok("capacity text \"%s\": free matches %s (%llu MB)", text.c_str(), drive, nowFree);
    else
        Fail("capacity text \"%s\": free %llu MB, but %s has %llu MB free (%llu MB before)",
             text.c_str(), shownFree, drive, nowFree, freeBeforeMb);
    if (shownTotal == nowTotal)
        Ok("total matches %s (%llu MB)", drive, nowTotal);
    else
        Fail("capacity text \"%s\": total %llu MB, but %s has %llu MB", text.c_str(), shownTotal,
             drive, nowTotal);
}

void CheckPlaylistColumns(HWND hMain) {
    HWND hList = ::GetDlgItem(hMain, kPlaylist);
    if (!hList) {
        Fail("no list view (control %d)", kPlaylist);
        return;
    }
    if (ClassName(hList) != "SysListView32")
        Fail("control %d is a \"%s\", not a list view", kPlaylist, ClassName(hList).c_str());
    if ((::GetWindowLongPtrA(hList, GWL_STYLE) & LVS_TYPEMASK) != LVS_REPORT)
        Fail("the list view is not in report mode");
    HWND hHeader = reinterpret_cast<HWND>(SendOr(hList, LVM_GETHEADER, 0, 0, 0));
    LRESULT columns = hHeader ? SendOr(hHeader, HDM_GETITEMCOUNT, 0, 0, -1) : -1;
    if (columns == 2)
        Ok("the list view has 2 columns");
    else
        Fail("the list view has %ld columns, expected 2", static_cast<long>(columns));
    const char* titles[] = {"FileName", "Path"};
    for (int i = 0; i < 2; ++i) {
        LRESULT width = SendOr(hList, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0, -1);
        std::string title;
        if (!ReadColumnTitle(hList, i, &title))
            continue;
        if (title == titles[i] && width == 300)
            Ok("column %d is \"%s\", %ld pixels wide", i, title.c_str(), static_cast<long>(width));
        else
            Fail("column %d is \"%s\", %ld pixels wide; expected \"%s\", 300", i, title.c_str(),
                 static_cast<long>(width), titles[i]);
    }
}

void CheckAddPrefix(HWND hMain) {
    HWND hCheck = ::GetDlgItem(hMain, kAddPrefix);
    if (!hCheck) {
        Fail("no \"Add Prefix\" check box (control %d)", kAddPrefix);
        return;
    }
    std::string text = WindowText(hCheck);
    LRESULT state = SendOr(hCheck, BM_GETCHECK, 0, 0, -1);
    if (text == "Add Prefix" && state == BST_CHECKED)
        Ok("\"Add Prefix\" is ticked");
    else
        Fail("control %d is \"%s\" with check state %ld, expected \"Add Prefix\" ticked",
             kAddPrefix, text.c_str(), static_cast<long>(state));
}

// --- sub-commands ---

int CmdDiskFree(const char* drive) {
    ULONGLONG freeMb = 0, totalMb = 0;
    if (!DiskSpace(drive, &freeMb, &totalMb)) {
        Fail("GetDiskFreeSpaceExA(%s\\) failed (error %lu)", drive, ::GetLastError());
        return Result();
    }
    std::printf("%llu\n", freeMb);
    return Result();
}

int CmdWaitMain(DWORD timeoutMs) {
    HWND hMain = nullptr;
    WaitFor([&] { return (hMain = FindTopLevel(kMainTitle)) != nullptr; }, timeoutMs);
    if (!hMain) {
        Fail("no visible window titled \"%s\" after %lu ms", kMainTitle, timeoutMs);
        return Result();
    }
    // A bounded round trip: the window's thread is past its set-up and pumping messages.
    LRESULT ignored = 0;
    if (Send(hMain, WM_NULL, 0, 0, &ignored))
        Ok("main window %p is up", static_cast<void*>(hMain));
    return Result();
}

int CmdCheckMain(ULONGLONG freeBeforeMb) {
    HWND hMain = RequireMain();
    if (!hMain)
        return Result();
    std::string title = WindowText(hMain);
    if (title == kMainTitle)
        Ok("title is \"%s\"", title.c_str());
    else
        Fail("title is \"%s\"", title.c_str());
    if (::GetWindow(hMain, GW_OWNER) || (::GetWindowLongPtrA(hMain, GWL_STYLE) & WS_CHILD))
        Fail("the main window is not an unowned top-level window");
    CheckDriveList(hMain);
    CheckCapacity(hMain, "E:", freeBeforeMb);
    CheckAddPrefix(hMain);
    CheckPlaylistColumns(hMain);
    return Result();
}

// Finds the About box's version line and OK button among its children.
void CheckAboutContents(HWND hAbout) {
    bool versionFound = false;
    HWND hOk = ::GetDlgItem(hAbout, IDOK);
    for (HWND hChild = ::GetWindow(hAbout, GW_CHILD); hChild;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (ClassName(hChild) == "Static" && WindowText(hChild) == kVersionLine &&
            ::IsWindowVisible(hChild))
            versionFound = true;
    }
    if (versionFound)
        Ok("About box shows \"%s\"", kVersionLine);
    else
        Fail("About box has no visible static \"%s\"", kVersionLine);
    if (hOk && ClassName(hOk) == "Button" && WindowText(hOk) == "OK" && ::IsWindowVisible(hOk))
        Ok("About box has an \"OK\" button");
    else
        Fail("About box has no visible \"OK\" button with ID %d", IDOK);
}

int CmdOpenAbout(DWORD timeoutMs) {
    HWND hMain = RequireMain();
    if (!hMain)
        return Result();
    if (FindTopLevel(kAboutTitle)) {
        Fail("an About box is already open");
        return Result();
    }
    // Posted: the box is modal, so a sent command would not return until it closed.
    if (!::PostMessageA(hMain, WM_SYSCOMMAND, kAboutCommand, 0)) {
        Fail("cannot post the About command (error %lu)", ::GetLastError());
        return Result();
    }
    HWND hAbout = nullptr;
    WaitFor([&] { return (hAbout = FindTopLevel(kAboutTitle)) != nullptr; }, timeoutMs);
    if (!hAbout) {
        Fail("no window titled \"%s\" within %lu ms of the About command", kAboutTitle, timeoutMs);
        return Result();
    }
    Ok("\"%s\" opened", kAboutTitle);
    HWND hOwner = ::GetWindow(hAbout, GW_OWNER);
    if (hOwner == hMain)
        Ok("About box is owned by the main window");
    else
        Fail("About box owner is %p, main window is %p", static_cast<void*>(hOwner),
             static_cast<void*>(hMain));
    CheckAboutContents(hAbout);
    // Modal: the main window takes no input while the box is up.
    if (WaitFor([&] { return !::IsWindowEnabled(hMain); }, 2000))
        Ok("main window is disabled while the About box is up");
    else
        Fail("main window stays enabled under the About box");
    return Result();
}

int CmdClickAboutOk() {
    HWND hAbout = FindTopLevel(kAboutTitle);
    HWND hOk = hAbout ? ::GetDlgItem(hAbout, IDOK) : nullptr;
    if (!hOk) {
        Fail("no About box with an OK button to press");
        return Result();
    }
    if (!::PostMessageA(hOk, BM_CLICK, 0, 0))
        Fail("cannot post a click to OK (error %lu)", ::GetLastError());
    else
        Ok("clicked OK");
    return Result();
}

int CmdWaitAboutClosed(DWORD timeoutMs) {
    if (!WaitFor([] { return !FindProgramWindow(kAboutTitle, false); }, timeoutMs)) {
        Fail("\"%s\" is still open after %lu ms", kAboutTitle, timeoutMs);
        return Result();
    }
    Ok("\"%s\" closed", kAboutTitle);
    HWND hMain = RequireMain();
    if (!hMain)
        return Result();
    if (WaitFor([&] { return ::IsWindowEnabled(hMain) != FALSE; }, 2000))
        Ok("main window is still open and enabled again");
    else
        Fail("main window is still disabled after the About box closed");
    return Result();
}

int CmdFocusMain() {
    HWND hMain = RequireMain();
    if (!hMain)
        return Result();
    ::SetForegroundWindow(hMain);
    if (WaitFor([&] { return ::GetForegroundWindow() == hMain; }, 3000))
        Ok("main window is in the foreground");
    else
        Fail("main window did not come to the foreground");
    return Result();
}

int CmdFocusAbout() {
    HWND hAbout = FindTopLevel(kAboutTitle);
    if (!hAbout) {
        Fail("no About box to focus");
        return Result();
    }
    ::SetForegroundWindow(hAbout);
    if (WaitFor([&] { return ::GetForegroundWindow() == hAbout; }, 3000))
        Ok("About box is in the foreground");
    else
        Fail("About box did not come to the foreground");
    return Result();
}

// The control that has the keyboard focus in the window's thread must be control nId.
int CmdCheckFocus(int nId) {
    HWND hMain = RequireMain();
    if (!hMain)
        return Result();
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    DWORD thread = ::GetWindowThreadProcessId(hMain, nullptr);
    if (!::GetGUIThreadInfo(thread, &info)) {
        Fail("cannot read the focus of the window's thread (error %lu)", ::GetLastError());
        return Result();
    }
    // A drop-down list's focus may sit on the combo box itself or on a child of it.
    HWND hFocus = info.hwndFocus;
    while (hFocus && ::GetParent(hFocus) && ::GetParent(hFocus) != hMain)
        hFocus = ::GetParent(hFocus);
    int focused = hFocus && ::GetParent(hFocus) == hMain ? ::GetDlgCtrlID(hFocus) : 0;
    if (focused == nId)
        Ok("control %d has the focus", nId);
    else
        Fail("the focus is on control %d (%p), expected %d", focused,
             static_cast<void*>(info.hwndFocus), nId);
    return Result();
}

int CmdWaitGone(DWORD timeoutMs) {
    if (WaitFor(
            [] {
                return !FindProgramWindow(kMainTitle, false) &&
                       !FindProgramWindow(kAboutTitle, false);
            },
            timeoutMs))
        Ok("no window of the program is left");
    else
        Fail("a window of the program is still there after %lu ms", timeoutMs);
    return Result();
}

// --- the playlist: its rows, the program's messages and the context menu ---

HWND RequirePlaylist() {
    HWND hMain = RequireMain();
    HWND hList = hMain ? ::GetDlgItem(hMain, kPlaylist) : nullptr;
    if (hMain && !hList)
        Fail("no list view (control %d)", kPlaylist);
    return hList;
}

std::string RowText(HWND hList, int row) {
    const SIZE_T kTextSize = 1024;
    RemoteMemory remote(hList, sizeof(LVITEMA) + kTextSize);
    LVITEMA item = {};
    item.pszText = remote.At(sizeof(LVITEMA));
    item.cchTextMax = static_cast<int>(kTextSize);
    char text[kTextSize] = "";
    if (!remote.Write(0, &item, sizeof(item)) ||
        SendOr(hList, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(remote.At(0)), -1) < 0 ||
        !remote.Read(sizeof(LVITEMA), text, sizeof(text)))
        return "<unreadable>";
    text[kTextSize - 1] = '\0';
    return text;
}

// Row's rectangle on the screen; the whole list's for row -1.
bool RowRect(HWND hList, int row, RECT* pRect) {
    if (row < 0)
        return ::GetWindowRect(hList, pRect) != FALSE;
    RemoteMemory remote(hList, sizeof(RECT));
    RECT rect = {LVIR_BOUNDS, 0, 0, 0};
    if (!remote.Write(0, &rect, sizeof(rect)) ||
        !SendOr(hList, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                reinterpret_cast<LPARAM>(remote.At(0)), 0) ||
        !remote.Read(0, pRect, sizeof(RECT))) {
        Fail("cannot read the rectangle of row %d", row);
        return false;
    }
    ::MapWindowPoints(hList, nullptr, reinterpret_cast<POINT*>(pRect), 2);
    return true;
}

// Prints "X Y TOP BOTTOM": a point in the middle of row's first column and the row's top and
// bottom, on the screen; for row -1 the middle and edges of the list.
int CmdRowPoint(int row) {
    HWND hList = RequirePlaylist();
    RECT rect;
    if (hList && RowRect(hList, row, &rect))
        std::printf("%ld %ld %ld %ld\n", row < 0 ? (rect.left + rect.right) / 2 : rect.left + 40,
                    (rect.top + rect.bottom) / 2, rect.top, rect.bottom);
    return Result();
}

// The rows' file names in order, separated by commas, a '*' before each selected one.
std::string ReadRows(HWND hList) {
    std::string rows;
    LRESULT count = SendOr(hList, LVM_GETITEMCOUNT, 0, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        bool selected = SendOr(hList, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED, 0);
        rows += (i ? "," : "") + std::string(selected ? "*" : "") + RowText(hList, int(i));
    }
    return rows;
}

// Waits briefly for the rows (see ReadRows) to be as expected: input takes a moment to act.
int CmdCheckRows(const std::string& expected) {
    HWND hList = RequirePlaylist();
    std::string rows;
    if (hList && WaitFor([&] { return (rows = ReadRows(hList)) == expected; }, 3000))
        Ok("rows are %s", rows.c_str());
    else if (hList)
        Fail("rows are \"%s\", expected \"%s\"", rows.c_str(), expected.c_str());
    return Result();
}

// A visible dialog of the program's with this title, owned by its main window.
HWND FindOwnedDialog(const char* title) {
    HWND hMain = FindTopLevel(kMainTitle);
    for (HWND hWnd = ::GetTopWindow(nullptr); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        char text[256] = "";
        ::GetWindowTextA(hWnd, text, sizeof(text));
        if (hWnd != hMain && ::IsWindowVisible(hWnd) && ClassName(hWnd) == "#32770" &&
            ::GetWindow(hWnd, GW_OWNER) == hMain && std::strcmp(text, title) == 0)
            return hWnd;
    }
    return nullptr;
}

// Waits for the program's message box, checks its text (any text for "*") and presses the
// button, OK unless it is named (ok, yes, no, cancel), or leaves it open (keep).
int CmdCloseMessage(const std::string& expected, const std::string& button, DWORD timeoutMs) {
    const char* const kButtons[] = {"", "ok", "cancel", "", "", "", "yes", "no"};
    const int nButton = static_cast<int>(
        std::find(std::begin(kButtons), std::end(kButtons), button) - std::begin(kButtons));
    HWND hBox = nullptr;
    WaitFor([&] { return (hBox = FindOwnedDialog(kMainTitle)) != nullptr; }, timeoutMs);
    if (!hBox) {
        Fail("no message box appeared");
        return Result();
    }
    std::string text = WindowText(::GetDlgItem(hBox, 0xFFFF));
    if (text == expected || expected == "*")
        Ok("the message says \"%s\"", text.c_str());
    else
        Fail("the message says \"%s\", expected \"%s\"", text.c_str(), expected.c_str());
    if (button == "keep")
        return Result();
    ::PostMessageA(hBox, WM_COMMAND, nButton < 8 && nButton > 0 ? nButton : IDOK, 0);
    if (!WaitFor([&] { return !::IsWindow(hBox); }, 5000))
        Fail("the message box did not close");
    return Result();
}

// The open popup menu as a person sees it, top to bottom: '+' for an item in black text,
// '-' for one in grey text, '|' for a separator line. Menus cannot be read across processes
// here, so the menu's pixels are read from the screen.
std::string ReadMenuLook(HWND hPopup) {
    RECT rect;
    ::GetClientRect(hPopup, &rect);
    ::MapWindowPoints(hPopup, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    ::InflateRect(&rect, -3, -3);  // clear of the frame, whose lines would join every band
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return "";
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC hScreen = ::GetDC(nullptr);
    HDC hMemory = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateDIBSection(hMemory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(hMemory, hBitmap);
    if (!bits || !::BitBlt(hMemory, 0, 0, width, height, hScreen, rect.left, rect.top, SRCCOPY))
        height = 0;  // nothing to read: the bands below stay empty
    std::string look;
    int bandStart = -1, bandWidest = 0;
    bool bandDark = false;
    for (int y = 0; y <= height; ++y) {
        int dark = 0, grey = 0;
        for (int x = 0; y < height && x < width; ++x) {
            DWORD pixel = static_cast<const DWORD*>(bits)[y * width + x];
            int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            int high = std::max({r, g, b}), low = std::min({r, g, b});
            dark += high < 0x50;
            grey += high - low < 0x20 && high >= 0x50 && high < 0xC8;
        }
        if (dark + grey > 0) {
            if (bandStart < 0)
                bandStart = y, bandWidest = 0, bandDark = false;
            bandWidest = std::max(bandWidest, dark + grey);
            bandDark |= dark > 0;
        } else if (bandStart >= 0) {
            // A thin band is a separator across the menu, or a mnemonic's underline.
            if (y - bandStart > 2)
                look += bandDark ? '+' : '-';
            else if (bandWidest > width / 2)
                look += '|';
            bandStart = -1;
        }
    }
    ::SelectObject(hMemory, hOld);
    if (hBitmap)
        ::DeleteObject(hBitmap);
    ::DeleteDC(hMemory);
    ::ReleaseDC(nullptr, hScreen);
    return look;
}

// Waits for a popup menu and compares its look (see ReadMenuLook) with expected.
int CmdCheckMenu(const std::string& expected) {
    HWND hPopup = nullptr;
    std::string look;
    // Read until the menu has finished painting, or the time is up.
    WaitFor(
        [&] {
            hPopup = ::FindWindowA(MAKEINTATOM(0x8000), nullptr);  // the popup menu class
            look = hPopup && ::IsWindowVisible(hPopup) ? ReadMenuLook(hPopup) : "";
            return look == expected;
        },
        5000);
    if (look == expected)
        Ok("the menu reads %s", look.c_str());
    else if (!hPopup)
        Fail("no popup menu is open");
    else
        Fail("the menu reads \"%s\", expected \"%s\"", look.c_str(), expected.c_str());
    return Result();
}

// The drive list's entries, asked for in UTF-16: Wine hands a cross-process CB_GETLBTEXTA
// back unconverted.
bool ReadDriveEntries(HWND hCombo, std::vector<std::string>* pEntries) {
    LRESULT count = SendOr(hCombo, CB_GETCOUNT, 0, 0, -1);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t wide[64] = {};
        char text[64] = {};
        DWORD_PTR ignored = 0;
        LRESULT length = SendOr(hCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, -1);
        if (length < 0 || length >= static_cast<LRESULT>(sizeof(text)) ||
            !::SendMessageTimeoutW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                   reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                                   &ignored))
            return false;
        ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
        pEntries->push_back(text);
    }
    return count >= 0;
}

// The drive list holds exactly these entries, and entry nSelected (-1: none) is selected.
int CmdCheckDriveList(int nSelected, char** expected, int nExpected) {
    HWND hMain = RequireMain();
    HWND hCombo = hMain ? ::GetDlgItem(hMain, kDriveCombo) : nullptr;
    std::vector<std::string> entries;
    if (!hCombo || !ReadDriveEntries(hCombo, &entries)) {
        Fail("cannot read the drive list");
        return Result();
    }
    std::string shown, wanted;
    for (const std::string& entry : entries)
        shown += " " + entry;
    for (int i = 0; i < nExpected; ++i)
        wanted += std::string(" ") + expected[i];
    if (shown == wanted)
        Ok("drive list:%s", shown.c_str());
    else
        Fail("drive list:%s; expected:%s", shown.c_str(), wanted.c_str());
    LRESULT selection = SendOr(hCombo, CB_GETCURSEL, 0, 0, -2);
    if (selection == nSelected)
        Ok("selected entry: %d", nSelected);
    else
        Fail("selected entry: %ld; expected %d", static_cast<long>(selection), nSelected);
    return Result();
}

int CmdCheckCapacity(const char* drive, ULONGLONG freeBeforeMb) {
    if (HWND hMain = RequireMain())
        CheckCapacity(hMain, drive, freeBeforeMb);
    return Result();
}

int CmdCheckCapacityText(const char* expected) {
    HWND hMain = RequireMain();
    if (!hMain)
        return Result();
    std::string text = WindowText(::GetDlgItem(hMain, kCapacityText));
    if (text == expected)
        Ok("capacity text is \"%s\"", text.c_str());
    else
        Fail("capacity text is \"%s\"; expected \"%s\"", text.c_str(), expected);
    return Result();
}

// --- the window's look and the progress text ---

void PrintRect(const char* name, const RECT& rect) {
    std::printf("%s %ld %ld %ld %ld\n", name, rect.left, rect.top, rect.right, rect.bottom);
}

void PrintColour(const char* name, COLORREF colour) {
    std::printf("colour %s %u %u %u\n", name, GetRValue(colour), GetGValue(colour),
                GetBValue(colour));
}

// A point of the caption that the window itself calls its close box.
bool FindCloseBox(HWND hMain, POINT* pPoint) {
    RECT rect;
    ::GetWindowRect(hMain, &rect);
    for (LONG y = rect.top; y < rect.top + 40; ++y) {
        for (LONG x = rect.right - 1; x > rect.right - 60; --x) {
            if (SendOr(hMain, WM_NCHITTEST, 0, MAKELPARAM(x, y), HTNOWHERE) == HTCLOSE) {
                // Step into the box, clear of its edge.
                *pPoint = {x - 3, y + 3};
                return true;
            }
        }
    }
    return false;
}

// Prints where the window's parts are on the screen, one per line "NAME LEFT TOP RIGHT
// BOTTOM": the window, the toolbar's buttons by command (add-files, copy-files, open-device,
// format-device; with their image index after the rectangle), the arrow buttons, the list,
// the drive list, the capacity text, the check box and the progress bar. Then "closebox X Y",
// and "colour NAME R G B" for the colours that the look is drawn in.
int CmdLayout() {
    HWND hMain = RequireMain();
    if (!hMain)
        return Result();
    RECT rect;
    ::GetWindowRect(hMain, &rect);
    PrintRect("window", rect);
    const struct {
        const char* name;
        int nCommand;
    } tools[] = {{"add-files", ID_ADD_FILES},
                 {"copy-files", ID_COPY_FILES},
                 {"open-device", ID_OPEN_DEVICE},
                 {"format-device", ID_FORMAT_DEVICE}};
    HWND hToolBar = ::GetDlgItem(hMain, AFX_IDW_TOOLBAR);
    for (const auto& tool : tools) {
        RemoteMemory remote(hToolBar, sizeof(TBBUTTON) + sizeof(RECT));
        LRESULT index = SendOr(hToolBar, TB_COMMANDTOINDEX, tool.nCommand, 0, -1);
        TBBUTTON button = {};
        if (index < 0 ||
            !SendOr(hToolBar, TB_GETBUTTON, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(remote.At(0)), 0) ||
            !SendOr(hToolBar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(remote.At(sizeof(TBBUTTON))), 0) ||
            !remote.Read(0, &button, sizeof(button)) ||
            !remote.Read(sizeof(TBBUTTON), &rect, sizeof(rect))) {
            Fail("cannot read the toolbar button of command %d", tool.nCommand);
            continue;
        }
        ::MapWindowPoints(hToolBar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        std::printf("%s %ld %ld %ld %ld %d\n", tool.name, rect.left, rect.top, rect.right,
                    rect.bottom, button.iBitmap);
    }
    const struct {
        const char* name;
        int nId;
    } controls[] = {
        {"up", IDC_MOVE_UP},         {"down", IDC_MOVE_DOWN}, {"remove", IDC_REMOVE},
        {"clear", IDC_CLEAR},        {"list", kPlaylist},     {"drives", kDriveCombo},
        {"capacity", kCapacityText}, {"prefix", kAddPrefix},  {"progress", IDC_PROGRESS}};
    for (const auto& control : controls) {
        HWND hControl = ::GetDlgItem(hMain, control.nId);
        if (hControl && ::GetWindowRect(hControl, &rect))
            PrintRect(control.name, rect);
        else
            Fail("no control %d", control.nId);
    }
    POINT closeBox;
    if (FindCloseBox(hMain, &closeBox))
        std::printf("closebox %ld %ld\n", closeBox.x, closeBox.y);
    else
        Fail("the caption has no close box");
    HWND hProgress = ::GetDlgItem(hMain, IDC_PROGRESS);
    PrintColour("face", ::GetSysColor(COLOR_BTNFACE));
    PrintColour("highlight", ::GetSysColor(COLOR_BTNHIGHLIGHT));
    PrintColour("shadow", ::GetSysColor(COLOR_BTNSHADOW));
    PrintColour("bar", static_cast<COLORREF>(SendOr(hProgress, PPM_GETBARCOLOR, 0, 0, 0)));
    PrintColour("barbk", static_cast<COLORREF>(SendOr(hProgress, PPM_GETBKCOLOR, 0, 0, 0)));
    return Result();
}

// Reads the progress bar's text. The window does not answer while it copies, so silence is
// waited out for up to timeoutMs, not failed at once.
bool ReadProgressText(HWND hProgress, DWORD timeoutMs, std::string* pText) {
    return WaitFor(
        [&] {
            char buffer[512] = "";
            DWORD_PTR length = 0;
            if (!::SendMessageTimeoutA(hProgress, WM_GETTEXT, sizeof(buffer),
                                       reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 1000,
                                       &length))
                return false;
            *pText = buffer;
            return true;
        },
        timeoutMs);
}

HWND RequireProgress() {
    HWND hMain = RequireMain();
    HWND hProgress = hMain ? ::GetDlgItem(hMain, IDC_PROGRESS) : nullptr;
    if (hMain && !hProgress)
        Fail("no progress bar (control %d)", IDC_PROGRESS);
    return hProgress;
}

// Waits up to timeoutMs for the progress bar to show exactly this text.
int CmdCheckProgress(const std::string& expected, DWORD timeoutMs) {
    HWND hProgress = RequireProgress();
    std::string text;
    bool answered = false;
    if (hProgress)
        WaitFor(
            [&] {
                return (answered = ReadProgressText(hProgress, 1000, &text)) && text == expected;
            },
            timeoutMs);
    if (answered && text == expected)
        Ok("the progress bar shows \"%s\"", text.c_str());
    else if (hProgress && !answered)
        Fail("the window did not answer within %lu ms", timeoutMs);
    else if (hProgress)
        Fail("the progress bar shows \"%s\", expected \"%s\"", text.c_str(), expected.c_str());
    return Result();
}

// Prints the progress bar's text as soon as the window answers, within timeoutMs.
int CmdProgressText(DWORD timeoutMs) {
    HWND hProgress = RequireProgress();
    std::string text;
    if (hProgress && ReadProgressText(hProgress, timeoutMs, &text))
        std::printf("%s\n", text.c_str());
    else if (hProgress)
        Fail("the window did not answer within %lu ms", timeoutMs);
    return Result();
}

// Visible top-level windows that are neither the program's main window, nor this probe's,
// nor the passing kind (tooltips, menus): what the shell opened, in its own process or in the
// program's.
std::vector<HWND> ShellWindows() {
    std::vector<HWND> found;
    HWND hMain = FindTopLevel(kMainTitle);
    for (HWND hWnd = ::GetTopWindow(nullptr); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        std::string kind = ClassName(hWnd);
        if (::IsWindowVisible(hWnd) && hWnd != hMain && pid != ::GetCurrentProcessId() &&
            kind != TOOLTIPS_CLASSA && kind != "#32768" && kind != "Shell_TrayWnd")
            found.push_back(hWnd);
    }
    return found;
}

// Waits up to timeoutMs for windows that the shell opens, then closes each as its close box
// would and waits for them to go. Prints their titles; finding none is not a failure.
int CmdCloseShellWindows(DWORD timeoutMs) {
    std::vector<HWND> windows;
    WaitFor([&] { return !(windows = ShellWindows()).empty(); }, timeoutMs);
    for (HWND hWnd : windows) {
        char title[256] = "";
        ::GetWindowTextA(hWnd, title, sizeof(title));
        Ok("the shell showed \"%s\" (%s); closing it", title, ClassName(hWnd).c_str());
        ::PostMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    if (windows.empty())
        Ok("the shell showed no window");
    else if (!WaitFor([] { return ShellWindows().empty(); }, 10000))
        Fail("the shell's windows did not close");
    return Result();
}

// Types text into the window that has the keyboard focus as UTF-16 units, the way an input
// method does, so that names in any language arrive as they are.
int CmdTypeText(const char* text) {
    const int nWide = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(nWide > 0 ? nWide : 1, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], nWide);
    wide.resize(wide.size() - 1);
    for (wchar_t unit : wide) {
        INPUT keys[2] = {};
        for (INPUT& key : keys) {
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = unit;
            key.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        if (::SendInput(2, keys, sizeof(INPUT)) != 2)
            Fail("cannot type U+%04X", static_cast<unsigned>(unit));
        ::Sleep(5);
    }
    return Result();
}

int Usage() {
    std::fputs(
        "usage: e2e_probe COMMAND [ARG]\n"
        "  disk-free DRIVE          print DRIVE's total free bytes >> 20\n"
        "  wait-main MS             wait for the main window\n"
        "  check-main FREE_MB       check the main window; FREE_MB from disk-free before start\n"
        "  open-about MS            open the About box from the system menu and check it\n"
        "  click-about-ok           press the About box's OK button\n"
        "  wait-about-closed MS     wait for the About box to go; the main window stays\n"
        "  focus-main | focus-about bring that window to the foreground\n"
        "  check-focus ID           the main window's focus is on control ID\n"
        "  wait-gone MS             wait until no window of the program is left\n"
        "  row-point ROW            print a point in ROW (-1: the list) and its top and bottom\n"
        "  check-rows ROWS          the rows' names in order, '*' before selected ones\n"
        "  close-message TEXT [BTN [MS]]  the program's message box, waited for MS (10000),\n"
        "                           says TEXT (* any); press BTN (ok, yes, no, cancel; ok by\n"
        "                           default; keep: leave it open)\n"
        "  check-menu LOOK          the open popup menu: '+' black item, '-' grey, '|' line\n"
        "  check-drive-list SEL [ENTRY]...  the drive list holds exactly ENTRY...; SEL is\n"
        "                           the selected entry, -1 for none\n"
        "  check-capacity DRIVE FREE_MB     the capacity text shows DRIVE's figures; FREE_MB\n"
        "                           from disk-free before the program read them\n"
        "  check-capacity-text TEXT the capacity text is exactly TEXT\n"
        "  layout                   print the rectangles and colours that the look is checked by\n"
        "  check-progress TEXT MS   wait for the progress bar to show TEXT\n"
        "  progress-text MS         print the progress bar's text once the window answers\n"
        "  close-shell-windows MS   wait for windows that the shell opens and close them\n"
        "  type-text TEXT           type TEXT (UTF-8) into the focused window as UTF-16\n",
        stderr);
    return 2;
}

bool ParseNumber(const char* text, ULONGLONG* pValue) {
    char* end = nullptr;
    *pValue = std::strtoull(text, &end, 10);
    return *text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    std::string command = argv[1];
    ULONGLONG number = 0;
    bool hasNumber = argc == 3 && ParseNumber(argv[2], &number);
    DWORD ms = static_cast<DWORD>(number);

    if (command == "disk-free" && argc == 3)
        return CmdDiskFree(argv[2]);
    if (command == "wait-main" && hasNumber)
        return CmdWaitMain(ms);
    if (command == "check-main" && hasNumber)
        return CmdCheckMain(number);
    if (command == "open-about" && hasNumber)
        return CmdOpenAbout(ms);
    if (command == "click-about-ok" && argc == 2)
        return CmdClickAboutOk();
    if (command == "wait-about-closed" && hasNumber)
        return CmdWaitAboutClosed(ms);
    if (command == "focus-main" && argc == 2)
        return CmdFocusMain();
    if (command == "focus-about" && argc == 2)
        return CmdFocusAbout();
    if (command == "check-focus" && hasNumber)
        return CmdCheckFocus(static_cast<int>(number));
    if (command == "wait-gone" && hasNumber)
        return CmdWaitGone(ms);
    if (command == "row-point" && argc == 3)
        return CmdRowPoint(std::atoi(argv[2]));
    if (command == "check-rows" && argc <= 3)
        return CmdCheckRows(argc == 3 ? argv[2] : "");
    if (command == "close-message" && argc >= 3 && argc <= 5)
        return CmdCloseMessage(argv[2], argc >= 4 ? argv[3] : "ok",
                               argc == 5 ? static_cast<DWORD>(std::atoi(argv[4])) : 10000);
    if (command == "check-menu" && argc == 3)
        return CmdCheckMenu(argv[2]);
    if (command == "check-drive-list" && argc >= 3)
        return CmdCheckDriveList(std::atoi(argv[2]), argv + 3, argc - 3);
    if (command == "check-capacity" && argc == 4 && ParseNumber(argv[3], &number))
        return CmdCheckCapacity(argv[2], number);
    if (command == "check-capacity-text" && argc == 3)
        return CmdCheckCapacityText(argv[2]);
    if (command == "layout" && argc == 2)
        return CmdLayout();
    if (command == "check-progress" && argc == 4 && ParseNumber(argv[3], &number))
        return CmdCheckProgress(argv[2], static_cast<DWORD>(number));
    if (command == "progress-text" && hasNumber)
        return CmdProgressText(ms);
    if (command == "close-shell-windows" && hasNumber)
        return CmdCloseShellWindows(ms);
    if (command == "type-text" && argc == 3)
        return CmdTypeText(argv[2]);
    return Usage();
}
