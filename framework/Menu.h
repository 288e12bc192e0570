// Menus. CMenu destroys its menu; CMenuHandle only looks at one (the system
// menu belongs to its window).
#pragma once

#include <windows.h>

template <bool t_bManaged> class CMenuT {
public:
    CMenuT() = default;
    explicit CMenuT(HMENU hMenu) : m_hMenu(hMenu) {}
    ~CMenuT() {
        if (t_bManaged)
            DestroyMenu();
    }

    HMENU m_hMenu = nullptr;

    operator HMENU() const { return m_hMenu; }
    BOOL LoadMenu(HINSTANCE hInst, UINT nIDResource) {
        DestroyMenu();
        m_hMenu = ::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource));
        return m_hMenu != nullptr;
    }
    BOOL DestroyMenu() {
        BOOL ok = m_hMenu && ::DestroyMenu(m_hMenu);
        m_hMenu = nullptr;
        return ok;
    }
    HMENU Detach() {
        HMENU hMenu = m_hMenu;
        m_hMenu = nullptr;
        return hMenu;
    }
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr) {
        return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    HMENU GetSubMenu(int nPos) const { return ::GetSubMenu(m_hMenu, nPos); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
};

class CMenu : public CMenuT<true> {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
};

using CMenuHandle = CMenuT<false>;
