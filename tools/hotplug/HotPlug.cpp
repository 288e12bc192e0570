// hotplug: plugs a removable drive into the running Wine prefix, or takes it out again,
// through Wine's mount manager, then announces the change to every top-level window as the
// system's device broadcast does. Wine announces only the drives its own disk service finds,
// and its BroadcastSystemMessage does not reach other processes' windows, so a program under
// test would otherwise never hear of the drive.
//   hotplug plug LETTER FOLDER [DEVICE]
//                                 FOLDER is a Unix path; DEVICE the Unix block device whose
//                                 volume is mounted there, for Wine to read its boot sector
//   hotplug unplug LETTER
#include <windows.h>
#include <dbt.h>
#include <shellapi.h>
#include <winioctl.h>

#include <cstdio>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

namespace {

// Wine's request record: MinGW's header lacks fs_type, serial and unix_dev, which Wine
// places before the letter. The Unix mount point follows the record, at mount_point_offset.
struct WineUnixDrive {
    ULONG size;  // of the record and the strings after it
    ULONG type;  // DRIVE_REMOVABLE defines the drive, DRIVE_NO_ROOT_DIR removes it
    ULONG fs_type;
    DWORD serial;
    ULONGLONG unix_dev;
    WCHAR letter;  // lower case
    USHORT mount_point_offset;
    USHORT device_offset;
    USHORT label_offset;
};
static_assert(sizeof(WineUnixDrive) == 32, "the record must match Wine's layout");

const DWORD kDefineUnixDrive =
    CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
// A window that does not answer within this time is left out, as the system's broadcast does.
const UINT kAnswerTimeoutMs = 5000;

std::string Root(char letter) { return std::string(1, letter) + ":\\"; }

bool DriveExists(char letter) { return (::GetLogicalDrives() >> (letter - 'A')) & 1; }

bool DefineUnixDrive(char letter, ULONG type, const std::string& mountPoint,
                     const std::string& device = std::string()) {
    std::vector<BYTE> request(sizeof(WineUnixDrive) + mountPoint.size() + 1 + device.size() + 1);
    if (request.size() > 0xFFFF) {
        std::fprintf(stderr, "hotplug: the folder's path is too long\n");
        return false;
    }
    WineUnixDrive drive = {};
    drive.size = static_cast<ULONG>(request.size());
    drive.type = type;
    drive.letter = static_cast<WCHAR>(letter - 'A' + 'a');
    if (!mountPoint.empty()) {
        drive.mount_point_offset = sizeof(WineUnixDrive);
        std::memcpy(request.data() + sizeof(WineUnixDrive), mountPoint.c_str(),
                    mountPoint.size() + 1);
    }
    if (!device.empty()) {
        drive.device_offset = static_cast<USHORT>(sizeof(WineUnixDrive) + mountPoint.size() + 1);
        std::memcpy(request.data() + drive.device_offset, device.c_str(), device.size() + 1);
    }
    std::memcpy(request.data(), &drive, sizeof(drive));

    HANDLE hManager =
        ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hManager == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "hotplug: no mount manager (error %lu); is this Wine?\n",
                     ::GetLastError());
        return false;
    }
    DWORD returned = 0;
    BOOL ok = ::DeviceIoControl(hManager, kDefineUnixDrive, request.data(),
                                static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr);
    DWORD error = ::GetLastError();
    ::CloseHandle(hManager);
    if (!ok)
        std::fprintf(stderr, "hotplug: the mount manager refused %c: (error %lu)\n", letter, error);
    return ok != FALSE;
}

struct Announcement {
    UINT nEvent;
    DEV_BROADCAST_VOLUME record;
    int nReached;
};

BOOL CALLBACK AnnounceTo(HWND hWnd, LPARAM lParam) {
    auto* pAnnouncement = reinterpret_cast<Announcement*>(lParam);
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutA(hWnd, WM_DEVICECHANGE, pAnnouncement->nEvent,
                              reinterpret_cast<LPARAM>(&pAnnouncement->record), SMTO_ABORTIFHUNG,
                              kAnswerTimeoutMs, &result))
        ++pAnnouncement->nReached;
    return TRUE;
}

// Sends the volume event to every top-level window; returns how many answered.
int Announce(UINT nEvent, char letter) {
    Announcement announcement = {};
    announcement.nEvent = nEvent;
    announcement.record.dbcv_size = sizeof(announcement.record);
    announcement.record.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    announcement.record.dbcv_unitmask = 1UL << (letter - 'A');
    ::EnumWindows(AnnounceTo, reinterpret_cast<LPARAM>(&announcement));
    return announcement.nReached;
}

int Plug(char letter, const std::string& folder, const std::string& device) {
    if (DriveExists(letter)) {
        std::fprintf(stderr, "hotplug: %c: is in use; unplug it first\n", letter);
        return 1;
    }
    if (!DefineUnixDrive(letter, DRIVE_REMOVABLE, folder, device))
        return 1;
    if (::GetDriveTypeA(Root(letter).c_str()) != DRIVE_REMOVABLE) {
        std::fprintf(stderr, "hotplug: %c: did not appear as a removable drive\n", letter);
        return 1;
    }
    int nReached = Announce(DBT_DEVICEARRIVAL, letter);
    std::printf("plugged %c: (%s), announced to %d windows\n", letter, folder.c_str(), nReached);
    return 0;
}

int Unplug(char letter) {
    if (!DriveExists(letter)) {
        std::fprintf(stderr, "hotplug: %c: is not plugged in\n", letter);
        return 1;
    }
    // Only what plug makes: a fixed drive stays.
    if (::GetDriveTypeA(Root(letter).c_str()) != DRIVE_REMOVABLE) {
        std::fprintf(stderr, "hotplug: %c: is not a removable drive\n", letter);
        return 1;
    }
    if (!DefineUnixDrive(letter, DRIVE_NO_ROOT_DIR, std::string()))
        return 1;
    if (DriveExists(letter)) {
        std::fprintf(stderr, "hotplug: %c: is still there\n", letter);
        return 1;
    }
    int nReached = Announce(DBT_DEVICEREMOVECOMPLETE, letter);
    std::printf("unplugged %c:, announced to %d windows\n", letter, nReached);
    return 0;
}

// The Unix path as Wine hands it to the mount manager: UTF-8 bytes.
std::string Utf8(const wchar_t* text) {
    int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return std::string();
    std::string utf8(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], nBytes, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(nBytes - 1));
    return utf8;
}

// "H" or "H:", D to Y: C: and Z: belong to Wine itself. 0 for anything else.
char DriveLetter(const wchar_t* text) {
    wchar_t letter = static_cast<wchar_t>(std::towupper(text[0]));
    bool single = text[0] && (!text[1] || (text[1] == L':' && !text[2]));
    return single && letter >= L'D' && letter <= L'Y' ? static_cast<char>(letter) : 0;
}

int Usage() {
    std::fputs("usage: hotplug plug LETTER FOLDER [DEVICE]   (Unix paths; LETTER D to Y)\n"
               "       hotplug unplug LETTER\n",
               stderr);
    return 2;
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv)
        return Usage();
    std::wstring command = argc > 1 ? argv[1] : L"";
    char letter = argc > 2 ? DriveLetter(argv[2]) : 0;
    std::string folder = argc > 3 ? Utf8(argv[3]) : std::string();
    std::string device = argc > 4 ? Utf8(argv[4]) : std::string();
    int result;
    if (letter && command == L"plug" && (argc == 4 || argc == 5) && !folder.empty() &&
        folder[0] == '/')
        result = Plug(letter, folder, device);
    else if (letter && command == L"unplug" && argc == 3)
        result = Unplug(letter);
    else
        result = Usage();
    ::LocalFree(argv);
    return result;
}
