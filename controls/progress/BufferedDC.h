// An off-screen surface for one paint: drawing goes to a bitmap that the
// destructor copies to the target DC in one step, so no half-drawn picture
// shows. A printer DC is drawn on directly.
#pragma once

#include "controls/progress/PaintBuffer.h"
#include "framework/DC.h"

class CBufferedDC : public CDC {
public:
    // pDC must outlive this object. With pBuffer the surface is borrowed from it instead of
    // made for this paint alone.
    explicit CBufferedDC(CDC* pDC, CPaintBuffer* pBuffer = nullptr);
    ~CBufferedDC() override;

private:
    BOOL m_bMemDC;  // FALSE: drawing goes straight to the target
    CBitmap m_bitmap;
    HBITMAP m_oldBitmap = nullptr;  // the memory DC's bitmap before m_bitmap
    CDC* m_pDC;                     // the target, not owned
    CRect m_rect;                   // the area covered, in the target's logical units
    int m_nSavedDC = 0;             // a borrowed surface's state before this paint, else 0

    BOOL CreateBuffer();
    BOOL BorrowBuffer(CPaintBuffer& buffer);
    // Gives the memory DC the target's mapping, its first pixel standing for m_rect's corner.
    void MatchTarget();
    void FillBackground();
};
