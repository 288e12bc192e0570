// An off-screen surface for one paint: drawing goes to a bitmap that the
// destructor copies to the target DC in one step, so no half-drawn picture
// shows. A printer DC is drawn on directly.
#pragma once

#include "framework/DC.h"

class CBufferedDC : public CDC {
public:
    // pDC must outlive this object.
    explicit CBufferedDC(CDC* pDC);
    ~CBufferedDC() override;

private:
    BOOL m_bMemDC;  // FALSE: drawing goes straight to the target
    CBitmap m_bitmap;
    HBITMAP m_oldBitmap = nullptr;  // the memory DC's bitmap before m_bitmap
    CDC* m_pDC;                     // the target, not owned
    CRect m_rect;                   // the area covered, in the target's logical units

    BOOL CreateBuffer();
    void FillBackground();
};
