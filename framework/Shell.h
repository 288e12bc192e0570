// The shell calls the program makes (open a file, a drive or an address, format a drive),
// made through one table so that tests can see what would reach the shell without the
// shell opening windows of its own.
#pragma once

#include <windows.h>
#include <shellapi.h>

struct AfxShellCalls {
    HINSTANCE(WINAPI* pfnShellExecute)
    (HWND hWnd, LPCSTR lpVerb, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory,
     INT nShowCmd);
    BOOL(WINAPI* pfnShellExecuteEx)(SHELLEXECUTEINFOA* pInfo);
    DWORD(WINAPI* pfnFormatDrive)(HWND hWnd, UINT nDrive, UINT nFormatID, UINT nOptions);
};

// The table in use; it starts with the real shell functions.
AfxShellCalls& AfxShell();

inline HINSTANCE AfxShellExecute(HWND hWnd, LPCSTR lpVerb, LPCSTR lpFile, LPCSTR lpParameters,
                                 LPCSTR lpDirectory, INT nShowCmd) {
    return AfxShell().pfnShellExecute(hWnd, lpVerb, lpFile, lpParameters, lpDirectory, nShowCmd);
}
inline BOOL AfxShellExecuteEx(SHELLEXECUTEINFOA* pInfo) {
    return AfxShell().pfnShellExecuteEx(pInfo);
}
inline DWORD AfxFormatDrive(HWND hWnd, UINT nDrive, UINT nFormatID, UINT nOptions) {
    return AfxShell().pfnFormatDrive(hWnd, nDrive, nFormatID, nOptions);
}
