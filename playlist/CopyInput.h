// What the user gives the window while a copy runs, when the window reads no messages: Esc
// is read as it happens, and the rest is dropped when the copy ends.
#pragma once

#include <windows.h>

// TRUE while Esc is down and hWnd is the foreground window; reads the key's state only.
BOOL EscapePressed(HWND hWnd);

// Removes the keys, clicks and system commands queued for hWnd and its children, so that none
// given during the copy acts after it.
void DiscardInput(HWND hWnd);
