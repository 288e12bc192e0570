// Records the messages windows receive and compares them with expected sequences, the way
// Wine's control tests do: each watched window is subclassed, and each message it gets is
// logged with flags that say how it came (sent or posted) and whose it was (the control or
// its parent). Only the messages a test names are recorded, so that the platform's own
// traffic (hit tests, cursor and icon queries) does not make tests brittle.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace test {

enum MsgFlags : unsigned {
    kSent = 0x01,      // arrived through SendMessage or a direct call of the procedure
    kPosted = 0x02,    // arrived through the queue
    kParent = 0x04,    // received by a window watched as a parent
    kWParam = 0x10,    // compare wParam
    kLParam = 0x20,    // compare lParam
    kOptional = 0x40,  // may be missing from the log
};

struct Msg {
    UINT message;
    unsigned flags;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    // For WM_COMMAND and WM_NOTIFY seen by a parent: the notification code, else 0.
    UINT code = 0;
};

// Separates the parts of one test's log.
const UINT kMarker = WM_APP + 0x3FFF;

class MessageRecorder {
public:
    // Records the given messages of every watched window.
    explicit MessageRecorder(std::initializer_list<UINT> messages) : m_messages(messages) {
        m_messages.insert(kMarker);
        Instance() = this;
        m_hHook =
            ::SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, ::GetCurrentThreadId());
    }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
    ~MessageRecorder() {
        for (HWND hWnd : m_watched)
            if (::IsWindow(hWnd))
                ::RemoveWindowSubclass(hWnd, RecordProc, reinterpret_cast<UINT_PTR>(this));
        if (m_hHook)
            ::UnhookWindowsHookEx(m_hHook);
        Instance() = nullptr;
    }

    // Watches hWnd; kParent in flags marks its entries as the parent's.
    void Watch(HWND hWnd, unsigned flags = 0) {
        ::SetWindowSubclass(hWnd, RecordProc, reinterpret_cast<UINT_PTR>(this), flags);
        m_watched.push_back(hWnd);
    }

    void Clear() {
        m_log.clear();
        m_queued.clear();
    }
    // Sends the marker to hWnd, so the log shows where one step ended.
    void Mark(HWND hWnd) { ::SendMessageA(hWnd, kMarker, 0, 0); }
    const std::vector<Msg>& Log() const { return m_log; }

    // The log matches expected in order; optional entries may be absent, flags other
    // than the comparison flags must agree. Prints both sequences when they differ.
    ::testing::AssertionResult Matches(const std::vector<Msg>& expected) const {
        size_t i = 0, j = 0;
        while (i < expected.size() && j < m_log.size()) {
            if (Same(expected[i], m_log[j])) {
                ++i;
                ++j;
            } else if (expected[i].flags & kOptional) {
                ++i;
            } else {
                break;
            }
        }
        while (i < expected.size() && (expected[i].flags & kOptional))
            ++i;
        if (i == expected.size() && j == m_log.size())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "message sequence differs at expected " << i
                                             << ", logged " << j << "\nexpected:\n"
                                             << Dump(expected) << "logged:\n"
                                             << Dump(m_log);
    }

    // How many logged entries are this message with these flags.
    int Count(UINT message, unsigned flags = 0) const {
        return static_cast<int>(std::count_if(m_log.begin(), m_log.end(), [&](const Msg& m) {
            return m.message == message && (m.flags & flags) == flags;
        }));
    }

    static std::string Dump(const std::vector<Msg>& log) {
        std::string text;
        for (const Msg& m : log) {
            char line[160];
            std::snprintf(line, sizeof(line), "  %s0x%04X%s%s code %d wParam %#llx lParam %#llx\n",
                          m.flags & kParent ? "parent " : "", m.message,
                          m.flags & kPosted ? " posted"
                          : m.flags & kSent ? " sent"
                                            : "",
                          m.flags & kOptional ? " optional" : "", static_cast<int>(m.code),
                          static_cast<unsigned long long>(m.wParam),
                          static_cast<unsigned long long>(m.lParam));
            text += line;
        }
        return text;
    }

private:
    static MessageRecorder*& Instance() {
        static MessageRecorder* recorder = nullptr;
        return recorder;
    }

    static bool Same(const Msg& want, const Msg& got) {
        if (want.message != got.message || want.code != got.code ||
            (want.flags & kParent) != (got.flags & kParent))
            return false;
        // An expected entry that says neither sent nor posted accepts both.
        const unsigned how = want.flags & (kSent | kPosted);
        if (how && how != (got.flags & (kSent | kPosted)))
            return false;
        if ((want.flags & kWParam) && want.wParam != got.wParam)
            return false;
        return !(want.flags & kLParam) || want.lParam == got.lParam;
    }

    // The queue's messages for watched windows: one that reaches the procedure next is posted.
    static LRESULT CALLBACK GetMessageHook(int nCode, WPARAM wParam, LPARAM lParam) {
        MessageRecorder* self = Instance();
        if (nCode == HC_ACTION && wParam == PM_REMOVE && self) {
            const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
            if (self->m_messages.count(pMsg->message))
                self->m_queued.push_back(*pMsg);
        }
        return ::CallNextHookEx(self ? self->m_hHook : nullptr, nCode, wParam, lParam);
    }

    static LRESULT CALLBACK RecordProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR uId, DWORD_PTR flags) {
        auto* self = reinterpret_cast<MessageRecorder*>(uId);
        if (self->m_messages.count(message)) {
            Msg m = {message, static_cast<unsigned>(flags) | kSent, wParam, lParam, 0};
            auto queued =
                std::find_if(self->m_queued.begin(), self->m_queued.end(), [&](const MSG& q) {
                    return q.hwnd == hWnd && q.message == message && q.wParam == wParam &&
                           q.lParam == lParam;
                });
            if (queued != self->m_queued.end()) {
                m.flags = (m.flags & ~kSent) | kPosted;
                self->m_queued.erase(queued);
            }
            if (message == WM_COMMAND)
                m.code = HIWORD(wParam);
            else if (message == WM_NOTIFY && lParam)
                m.code = reinterpret_cast<const NMHDR*>(lParam)->code;
            self->m_log.push_back(m);
            if (message == kMarker)
                return 0;
        }
        if (message == WM_NCDESTROY)
            ::RemoveWindowSubclass(hWnd, RecordProc, uId);
        return ::DefSubclassProc(hWnd, message, wParam, lParam);
    }

    std::set<UINT> m_messages;
    std::vector<HWND> m_watched;
    std::vector<Msg> m_log;
    std::deque<MSG> m_queued;
    HHOOK m_hHook = nullptr;
};

}  // namespace test
