// An image list, destroyed with the object unless its handle was detached
// (the shell's system list must never be destroyed by us).
#pragma once

#include <windows.h>
#include <commctrl.h>

class CImageList {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() { DeleteImageList(); }

    HIMAGELIST m_hImageList = nullptr;

    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
        return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
    }
    // Takes ownership of h, destroying any list held before.
    BOOL Attach(HIMAGELIST h) {
        DeleteImageList();
        m_hImageList = h;
        return h != nullptr;
    }
    // Gives up ownership without destroying.
    HIMAGELIST Detach() {
        HIMAGELIST h = m_hImageList;
        m_hImageList = nullptr;
        return h;
    }
    BOOL DeleteImageList() {
        if (!m_hImageList)
            return FALSE;
        BOOL ok = ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
        return ok;
    }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
};
