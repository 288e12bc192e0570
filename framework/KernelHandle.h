// Owners of kernel handles: CHandle closes a file, volume, process or thread handle
// (CloseHandle), CFindHandle ends a file search (FindClose). A failed open or search
// (INVALID_HANDLE_VALUE) holds nothing, so a test for null covers both ways of failing.
#pragma once

#include "framework/Handle.h"

namespace afx {
struct KernelTraits : HandleTraits<HANDLE> {
    static HANDLE Adopt(HANDLE h) { return h == INVALID_HANDLE_VALUE ? nullptr : h; }
    static BOOL Release(HANDLE h) { return ::CloseHandle(h); }
};
struct FindTraits : KernelTraits {
    static BOOL Release(HANDLE h) { return ::FindClose(h); }
};
}  // namespace afx

using CHandle = CHandleT<afx::KernelTraits, true>;
using CFindHandle = CHandleT<afx::FindTraits, true>;
