// Runs test code inside a dialog's own modal loop, the way user input would
// arrive, then closes the dialog with the Cancel command.
#pragma once

#include "framework/Dialog.h"
#include "tests/support/Pump.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace test {

namespace detail {
inline std::function<void()>& PendingBody() {
    static std::function<void()> body;
    return body;
}
inline CDialog*& PendingDialog() {
    static CDialog* dialog = nullptr;
    return dialog;
}
inline bool& CloseAfterBody() {
    static bool close = true;
    return close;
}
inline void CALLBACK EndStuckDialog(HWND, UINT, UINT_PTR nIDEvent, DWORD) {
    ::KillTimer(nullptr, nIDEvent);
    if (CDialog* dialog = PendingDialog(); dialog && dialog->m_hWnd)
        dialog->EndDialog(-7);
}
inline void CALLBACK RunPendingBody(HWND, UINT, UINT_PTR nIDEvent, DWORD) {
    ::KillTimer(nullptr, nIDEvent);
    std::function<void()> body = std::move(PendingBody());
    PendingBody() = nullptr;
    if (body)
        body();
    if (!CloseAfterBody())
        ::SetTimer(nullptr, 0, 5000, EndStuckDialog);
    else if (CDialog* dialog = PendingDialog(); dialog && dialog->m_hWnd)
        dialog->PostMessage(WM_COMMAND, IDCANCEL);
}
}  // namespace detail

enum class Close { AfterBody, ByItself };
// What DoModal returns when a dialog left to close by itself did not within 5 s.
const INT_PTR kTimedOut = -7;

// DoModal on dialog; body runs once the modal loop dispatches messages. Returns DoModal's result.
inline INT_PTR RunModal(CDialog& dialog, std::function<void()> body,
                        Close close = Close::AfterBody) {
    detail::PendingBody() = std::move(body);
    detail::PendingDialog() = &dialog;
    detail::CloseAfterBody() = close == Close::AfterBody;
    ::SetTimer(nullptr, 0, 1, detail::RunPendingBody);
    INT_PTR result = dialog.DoModal();
    detail::PendingDialog() = nullptr;
    return result;
}

// Calls action every few milliseconds, from inside whatever modal loop runs,
// until it returns true or nMaxMs pass. For closing boxes that a command opens.
inline void WhileModal(std::function<bool()> action, DWORD nMaxMs = 5000) {
    struct Job {
        std::function<bool()> action;
        DWORD deadline;
    };
    static Job job;
    job = {std::move(action), ::GetTickCount() + nMaxMs};
    struct Tick {
        static void CALLBACK Proc(HWND, UINT, UINT_PTR nIDEvent, DWORD) {
            if (!job.action || job.action() ||
                static_cast<LONG>(::GetTickCount() - job.deadline) > 0) {
                ::KillTimer(nullptr, nIDEvent);
                job.action = nullptr;
            }
        }
    };
    ::SetTimer(nullptr, 0, 20, Tick::Proc);
}

// A message box that shows, with its text in *pText; nullptr while none shows.
inline HWND FindMessageBox(std::string* pText) {
    char text[1024] = "";
    for (HWND hBox = nullptr; (hBox = ::FindWindowExA(nullptr, hBox, "#32770", nullptr));) {
        if (::GetDlgItemTextA(hBox, 0xFFFF, text, sizeof(text))) {
            *pText = text;
            return hBox;
        }
    }
    return nullptr;
}

// Answers the next message box with nAnswer once it shows, and keeps its text in *pAsked.
inline void AnswerMessageBox(int nAnswer, std::vector<std::string>* pAsked) {
    WhileModal([pAsked, nAnswer] {
        std::string text;
        HWND hBox = FindMessageBox(&text);
        if (!hBox)
            return false;
        pAsked->push_back(text);
        return ::PostMessageA(hBox, WM_COMMAND, nAnswer, 0) != FALSE;
    });
}

// Finds a top-level window of this process by its title.
inline HWND FindOwnWindow(LPCSTR lpszTitle) {
    HWND hWnd = nullptr;
    while ((hWnd = ::FindWindowExA(nullptr, hWnd, nullptr, lpszTitle)) != nullptr) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        if (pid == ::GetCurrentProcessId())
            return hWnd;
    }
    return nullptr;
}

}  // namespace test
