// Common includes and the framework's own identifiers.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Framework command and window identifiers.
#define ID_HELP 0xE146
#define AFX_IDW_TOOLBAR 0xE800

// Control-bar styles. They live in the bar object, not in the window style.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_ALL 0xFFFFL

class CWinApp;
class CWnd;

// The one application object, or nullptr when none was constructed (as in tests).
CWinApp* AfxGetApp();
// The module that holds the program's resources.
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The module that holds resource lpszName of type lpszType: the program has one.
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// The bytes of a resource of the program, or nullptr; they live as long as the module.
const void* AfxLockResource(LPCSTR lpszName, LPCSTR lpszType, DWORD* pSize = nullptr);
// The application's main window, or nullptr.
CWnd* AfxGetMainWnd();
