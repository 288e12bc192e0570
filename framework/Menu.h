// Menus. CMenu owns its menu and destroys it; CMenuHandle only looks at one (the system
// menu belongs to its window, a submenu to its menu), so it can neither load nor destroy.
#pragma once

#include "framework/Handle.h"

namespace afx {
struct MenuTraits : HandleTraits<HMENU> {
    static BOOL Release(HMENU h) { return ::DestroyMenu(h); }
};
}  // namespace afx

template <bool t_bManaged> class CMenuT : public CHandleT<afx::MenuTraits, t_bManaged> {
public:
    using CHandleT<afx::MenuTraits, t_bManaged>::CHandleT;

    // Owner only: loads a menu resource; refuses while a menu is held.
    template <bool M = t_bManaged, std::enable_if_t<M, int> = 0>
    BOOL LoadMenu(HINSTANCE hInst, UINT nIDResource) {
        return this->IsNull() && this->Attach(::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource)));
    }
    template <bool M = t_bManaged, std::enable_if_t<M, int> = 0> BOOL DestroyMenu() {
        return this->Close();
    }
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr) {
        return ::AppendMenuA(this->m_handle, nFlags, nIDNewItem, lpszNewItem);
    }
    // The submenu belongs to this menu: it comes as a view.
    CMenuT<false> GetSubMenu(int nPos) const {
        return CMenuT<false>(::GetSubMenu(this->m_handle, nPos));
    }
    // Shows the menu as a popup; with TPM_RETURNCMD returns the chosen command, else
    // non-zero on success, the command going to hWndOwner.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, HWND hWndOwner, LPCRECT lpRect = nullptr) const {
        return ::TrackPopupMenu(this->m_handle, nFlags, x, y, 0, hWndOwner, lpRect);
    }
    BOOL TrackPopupMenuEx(UINT nFlags, int x, int y, HWND hWndOwner,
                          LPTPMPARAMS lpParams = nullptr) const {
        return ::TrackPopupMenuEx(this->m_handle, nFlags, x, y, hWndOwner, lpParams);
    }
};

using CMenu = CMenuT<true>;
using CMenuHandle = CMenuT<false>;
