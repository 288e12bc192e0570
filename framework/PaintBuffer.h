// An off-screen memory DC and bitmap kept from one paint to the next, for a control that
// repaints many times a second: making and destroying them at every paint costs more than
// the drawing. The owner releases it when its size changes and when its window goes.
#pragma once

#include "framework/DC.h"

class CPaintBuffer {
public:
    CPaintBuffer() = default;
    CPaintBuffer(const CPaintBuffer&) = delete;
    CPaintBuffer& operator=(const CPaintBuffer&) = delete;
    ~CPaintBuffer() { Release(); }

    // A memory DC compatible with hTarget that holds a bitmap of at least cx by cy pixels,
    // made anew only when the one kept is too small; nullptr when none can be made.
    HDC Get(HDC hTarget, int cx, int cy);
    // Releases the DC and its bitmap; the next Get makes new ones.
    void Release();
    // The bitmap kept, or nullptr.
    HBITMAP Bitmap() const { return m_bitmap; }

private:
    CMemoryDC m_dc;
    CBitmap m_bitmap;
    CBitmapHandle m_oldBitmap;  // the memory DC's own bitmap, put back before release
    CSize m_size;               // of m_bitmap
};
