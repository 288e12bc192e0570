// Icons and cursors. CIcon and CCursor own theirs (DestroyIcon, DestroyCursor); CIconHandle
// and CCursorHandle look at one that is shared or belongs to someone else, such as a cursor
// loaded from the system.
#pragma once

#include "framework/Handle.h"

namespace afx {
struct IconTraits : HandleTraits<HICON> {
    static BOOL Release(HICON h) { return ::DestroyIcon(h); }
};
struct CursorTraits : HandleTraits<HCURSOR> {
    static BOOL Release(HCURSOR h) { return ::DestroyCursor(h); }
};
}  // namespace afx

using CIcon = CHandleT<afx::IconTraits, true>;
using CIconHandle = CHandleT<afx::IconTraits, false>;
using CCursor = CHandleT<afx::CursorTraits, true>;
using CCursorHandle = CHandleT<afx::CursorTraits, false>;
