// Esc during a copy, and what was given to the window meanwhile dropped when it ends.
#include "playlist/CopyInput.h"

// Esc, from the key's state rather than from the queue: reading the queue would also run the
// handlers of messages that other programs send, such as a drive's removal, in the middle of
// the copy. Pressed in another program's window it does not count, and is forgotten.
BOOL EscapePressed(HWND hWnd) {
    return ::GetAsyncKeyState(VK_ESCAPE) != 0 && ::GetForegroundWindow() == hWnd;
}

// What was given to the window while it copied is dropped, since acted on afterwards it would
// come at a moment nobody chose: keys (Esc would close the window, a shortcut open a dialog),
// clicks (on the close box, on Copy Files), and the close that a window manager posts for its
// close box and Alt+F4. Every other posted system command goes too: a move, size, minimize,
// maximize or menu asked of a window that looked frozen, as the frame's own buttons clicked
// meanwhile are; a move or size would take the pointer. Pointer moves, paints, timers and
// posted commands stay, so that what lies under the pointer lights up.
// Under Wine the display's input becomes messages only while the queue is read, so it is read
// until nothing is left; and with no PM_QS_ filter, since with one Wine's PeekMessage, once it
// has run a message sent meanwhile (the bar's text asked for, say), looks no further in that
// call and reports an empty queue that still holds the keys.
void DiscardInput(HWND hWnd) {
    const UINT ranges[][2] = {{WM_KEYFIRST, WM_KEYLAST},
                              {WM_LBUTTONDOWN, WM_MOUSELAST},
                              {WM_NCLBUTTONDOWN, WM_NCXBUTTONDBLCLK},
                              {WM_CLOSE, WM_CLOSE},
                              {WM_SYSCOMMAND, WM_SYSCOMMAND}};
    MSG msg;
    for (BOOL bFound = TRUE; bFound;) {
        bFound = FALSE;
        for (const auto& range : ranges)
            while (::PeekMessageA(&msg, hWnd, range[0], range[1], PM_REMOVE))
                bFound = TRUE;
    }
}
