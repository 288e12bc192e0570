// Menus. CMenu owns its menu and destroys it; CMenuHandle only looks at one (the system
// menu belongs to its window, a submenu to its menu), so it can neither load nor destroy.
#pragma once

#include <windows.h>

#include <type_traits>

template <bool t_bManaged> class CMenuT {
public:
    CMenuT() = default;
    explicit CMenuT(HMENU hMenu) : m_hMenu(hMenu) {}
    ~CMenuT() {
        if constexpr (t_bManaged)
            DestroyMenu();
    }

    HMENU m_hMenu = nullptr;

    operator HMENU() const { return m_hMenu; }

    // Owner only: loads a menu resource; refuses while a menu is held.
    template <bool M = t_bManaged, std::enable_if_t<M, int> = 0>
    BOOL LoadMenu(HINSTANCE hInst, UINT nIDResource) {
        if (m_hMenu)
            return FALSE;
        m_hMenu = ::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource));
        return m_hMenu != nullptr;
    }
    // Owner only: takes ownership of hMenu; refuses while a menu is held.
    template <bool M = t_bManaged, std::enable_if_t<M, int> = 0> BOOL Attach(HMENU hMenu) {
        if (m_hMenu)
            return FALSE;
        m_hMenu = hMenu;
        return hMenu != nullptr;
    }
    template <bool M = t_bManaged, std::enable_if_t<M, int> = 0> BOOL DestroyMenu() {
        BOOL ok = m_hMenu && ::DestroyMenu(m_hMenu);
        m_hMenu = nullptr;
        return ok;
    }
    // Gives up ownership without destroying.
    HMENU Detach() {
        HMENU hMenu = m_hMenu;
        m_hMenu = nullptr;
        return hMenu;
    }
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr) {
        return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
        return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
    }
    // The submenu belongs to this menu: it comes as a view.
    CMenuT<false> GetSubMenu(int nPos) const { return CMenuT<false>(::GetSubMenu(m_hMenu, nPos)); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    // Shows the menu as a popup; with TPM_RETURNCMD returns the chosen command, else
    // non-zero on success, the command going to hWndOwner.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, HWND hWndOwner, LPCRECT lpRect = nullptr) const {
        return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWndOwner, lpRect);
    }
    BOOL TrackPopupMenuEx(UINT nFlags, int x, int y, HWND hWndOwner,
                          LPTPMPARAMS lpParams = nullptr) const {
        return ::TrackPopupMenuEx(m_hMenu, nFlags, x, y, hWndOwner, lpParams);
    }
};

class CMenu : public CMenuT<true> {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
};

using CMenuHandle = CMenuT<false>;
