// Image lists. CImageList owns its list and destroys it; CImageListHandle only looks at one
// it was lent (the shell's system list, a list a control holds), so it cannot destroy.
#pragma once

#include "framework/Handle.h"

#include <commctrl.h>

namespace afx {
struct ImageListTraits : HandleTraits<HIMAGELIST> {
    static BOOL Release(HIMAGELIST h) { return ImageList_Destroy(h); }
};
}  // namespace afx

template <bool t_bManaged> class CImageListT : public CHandleT<afx::ImageListTraits, t_bManaged> {
public:
    using CHandleT<afx::ImageListTraits, t_bManaged>::CHandleT;

    // Owner only: makes a new list; refuses while a list is held.
    template <bool M = t_bManaged, std::enable_if_t<M, int> = 0>
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
        return this->IsNull() && this->Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
    }
    template <bool M = t_bManaged, std::enable_if_t<M, int> = 0> BOOL DeleteImageList() {
        return this->Close();
    }
};

using CImageList = CImageListT<true>;
using CImageListHandle = CImageListT<false>;
