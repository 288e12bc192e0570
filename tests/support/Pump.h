// Message pumping for tests: handle what is pending, bounded in time.
#pragma once

#include <windows.h>

namespace test {

// Dispatches pending messages until none is left or nMaxMs pass.
inline void PumpMessages(DWORD nMaxMs = 200) {
    DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < nMaxMs) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Dispatches messages until done() holds or nMaxMs pass; returns done().
template <class Pred> bool PumpUntil(Pred done, DWORD nMaxMs = 5000) {
    DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < nMaxMs) {
        MSG msg;
        if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        } else {
            ::Sleep(5);
        }
    }
    return done();
}

// A plain top-level window class for tests that need a parent.
inline const char* TestWindowClass() {
    static const char* name = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "OveloTestWindow";
        ::RegisterClassA(&wc);
        return "OveloTestWindow";
    }();
    return name;
}

}  // namespace test
