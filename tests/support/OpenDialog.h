// Drives the real open-file dialog from inside the modal loop that shows it, as a user would:
// goes to a folder, then types names or selects every file of the list, and presses Open.
#pragma once

#include "tests/support/ModalRunner.h"

#include <commctrl.h>
#include <dlgs.h>

#include <functional>
#include <memory>
#include <string>

namespace test {

struct OpenDialogChoice {
    std::string folder;
    std::string typed;  // names typed into the name box; empty: every file of the list selected
    int nListed = 0;    // with nothing typed: how many files the list shows once it is filled
    std::function<void()> beforeOpen;  // runs just before the final Open is pressed
};

struct OpenDialogSeen {
    bool bShown = false;
    std::string filter;  // the first entry of the file type list
};

// Arms a timer that makes the choice once the dialog shows; call it before opening the dialog.
inline void ChooseInOpenDialog(const OpenDialogChoice& choice, OpenDialogSeen* pSeen,
                               DWORD nMaxMs = 60000) {
    auto bInFolder = std::make_shared<bool>(false);
    auto clickOpen = [](HWND hOpen) {
        ::SendMessageA(hOpen, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hOpen, IDOK)));
    };
    auto type = [](HWND hOpen, const std::string& text) {
        HWND hName = ::GetDlgItem(hOpen, cmb13);
        ::SetWindowTextA(hName ? hName : ::GetDlgItem(hOpen, edt1), text.c_str());
    };
    WhileModal(
        [=] {
            HWND hOpen = FindOwnWindow("Open");
            if (!hOpen || !::IsWindowVisible(hOpen))
                return false;
            pSeen->bShown = true;
            char filter[128] = "";
            ::GetDlgItemTextA(hOpen, cmb1, filter, sizeof(filter));
            pSeen->filter = filter;
            if (!*bInFolder) {
                type(hOpen, choice.folder);
                clickOpen(hOpen);
                *bInFolder = true;
                return false;
            }
            if (choice.typed.empty()) {
                HWND hView = ::FindWindowExA(hOpen, nullptr, "SHELLDLL_DefView", nullptr);
                HWND hList = ::FindWindowExA(hView, nullptr, WC_LISTVIEWA, nullptr);
                if (::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0) < choice.nListed)
                    return false;
                LVITEMA item = {};
                item.stateMask = item.state = LVIS_SELECTED;
                ::SendMessageA(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(&item));
            } else {
                type(hOpen, choice.typed);
            }
            if (choice.beforeOpen)
                choice.beforeOpen();
            clickOpen(hOpen);
            return true;
        },
        nMaxMs);
}

}  // namespace test
