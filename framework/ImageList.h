// Image lists. CImageList owns its list and destroys it; CImageListHandle only looks at
// one it was lent (the shell's system list, a list a control holds), so it cannot destroy.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <type_traits>

template <bool t_bManaged> class CImageListT {
public:
    CImageListT() = default;
    explicit CImageListT(HIMAGELIST h) : m_hImageList(h) {}
    CImageListT(const CImageListT&) = delete;
    CImageListT& operator=(const CImageListT&) = delete;
    ~CImageListT() {
        if constexpr (t_bManaged)
            DeleteImageList();
    }

    HIMAGELIST m_hImageList = nullptr;

    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    // Owner only: makes a new list; refuses while a list is held.
    template <bool M = t_bManaged, std::enable_if_t<M, int> = 0>
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
        if (m_hImageList)
            return FALSE;
        m_hImageList = ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
        return m_hImageList != nullptr;
    }
    // Owner only: takes ownership of h; refuses while a list is held.
    template <bool M = t_bManaged, std::enable_if_t<M, int> = 0> BOOL Attach(HIMAGELIST h) {
        if (m_hImageList)
            return FALSE;
        m_hImageList = h;
        return h != nullptr;
    }
    template <bool M = t_bManaged, std::enable_if_t<M, int> = 0> BOOL DeleteImageList() {
        if (!m_hImageList)
            return FALSE;
        BOOL ok = ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
        return ok;
    }
    // The view only: points at another list; nothing held is destroyed.
    template <bool M = t_bManaged, std::enable_if_t<!M, int> = 0> void Attach(HIMAGELIST h) {
        m_hImageList = h;
    }
    // Gives up the list without destroying it.
    HIMAGELIST Detach() {
        HIMAGELIST h = m_hImageList;
        m_hImageList = nullptr;
        return h;
    }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
};

using CImageList = CImageListT<true>;
using CImageListHandle = CImageListT<false>;
