// An off-screen surface for one paint: drawing goes to a bitmap that the destructor copies
// to the target DC in one step, so no half-drawn picture shows. A printer DC, or a target
// for which no bitmap can be made, is drawn on directly.
#pragma once

#include "framework/DC.h"
#include "framework/PaintBuffer.h"

class CBufferedDC : public CDC {
public:
    // Covers the part of rcArea (logical units of pDC, which must outlive this object) that
    // pDC's clip box lets through: a window's paint covers its client area and never draws
    // over what lies beside it in a larger DC. With pBuffer the surface is borrowed from it
    // instead of made for this paint alone.
    CBufferedDC(CDC* pDC, const RECT& rcArea, CPaintBuffer* pBuffer = nullptr);
    ~CBufferedDC() override;

private:
    BOOL m_bMemDC = FALSE;     // FALSE: drawing goes straight to the target
    CPaintBuffer m_ownBuffer;  // the surface of this paint alone, when none is lent
    CDC* m_pDC;                // the target, not owned
    CRect m_rect;              // the area covered, in the target's logical units
    int m_nSavedDC = 0;        // the surface's state before this paint

    BOOL UseBuffer(CPaintBuffer& buffer);
    // Gives the memory DC the target's mapping, its first pixel standing for m_rect's corner.
    void MatchTarget();
    void FillBackground();
};
