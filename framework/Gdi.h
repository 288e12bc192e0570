// GDI objects: pens, brushes, fonts, bitmaps and regions. The owners (CPen, CBrush, CFont,
// CBitmap, CRgn) delete their object when destroyed and make none while they hold one; the
// views (CFontHandle and the like) look at an object someone else deletes: a stock object,
// a control's font, a bitmap selected by another.
#pragma once

#include "framework/Handle.h"

namespace afx {
template <class H> struct GdiTraits : HandleTraits<H> {
    static BOOL Release(H h) { return ::DeleteObject(h); }
};
// The LOGFONT of a font nPointSize tenths of a point high on hDC, or on the screen when
// hDC is nullptr.
LOGFONTA PointFontLogFont(int nPointSize, LPCSTR lpszFaceName, HDC hDC);
}  // namespace afx

template <class H, bool t_bManaged>
class CGdiObjectT : public CHandleT<afx::GdiTraits<H>, t_bManaged> {
public:
    using CHandleT<afx::GdiTraits<H>, t_bManaged>::CHandleT;

    template <bool M = t_bManaged, std::enable_if_t<M, int> = 0> BOOL DeleteObject() {
        return this->Close();
    }
    int GetObject(int nCount, LPVOID pObject) const {
        return ::GetObjectA(this->m_handle, nCount, pObject);
    }
};

// Creators make an object only while none is held; they are the owner's alone.
#define AFX_OWNER_ONLY template <bool M = t_bManaged, std::enable_if_t<M, int> = 0>

template <bool t_bManaged> class CPenT : public CGdiObjectT<HPEN, t_bManaged> {
public:
    using CGdiObjectT<HPEN, t_bManaged>::CGdiObjectT;
    AFX_OWNER_ONLY BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
        return this->IsNull() && this->Attach(::CreatePen(nPenStyle, nWidth, crColor));
    }
};

template <bool t_bManaged> class CBrushT : public CGdiObjectT<HBRUSH, t_bManaged> {
public:
    using CGdiObjectT<HBRUSH, t_bManaged>::CGdiObjectT;
    AFX_OWNER_ONLY BOOL CreateSolidBrush(COLORREF crColor) {
        return this->IsNull() && this->Attach(::CreateSolidBrush(crColor));
    }
};

template <bool t_bManaged> class CFontT : public CGdiObjectT<HFONT, t_bManaged> {
public:
    using CGdiObjectT<HFONT, t_bManaged>::CGdiObjectT;
    AFX_OWNER_ONLY BOOL CreateFontIndirect(const LOGFONTA* pLogFont) {
        return this->IsNull() && this->Attach(::CreateFontIndirectA(pLogFont));
    }
    // A font nPointSize tenths of a point high on hDC, or on the screen when hDC is nullptr.
    AFX_OWNER_ONLY BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName, HDC hDC = nullptr) {
        const LOGFONTA lf = afx::PointFontLogFont(nPointSize, lpszFaceName, hDC);
        return CreateFontIndirect(&lf);
    }
};

template <bool t_bManaged> class CBitmapT : public CGdiObjectT<HBITMAP, t_bManaged> {
public:
    using CGdiObjectT<HBITMAP, t_bManaged>::CGdiObjectT;
    AFX_OWNER_ONLY BOOL CreateCompatibleBitmap(HDC hdc, int nWidth, int nHeight) {
        return this->IsNull() && this->Attach(::CreateCompatibleBitmap(hdc, nWidth, nHeight));
    }
    AFX_OWNER_ONLY BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount,
                                     const void* pBits) {
        return this->IsNull() &&
               this->Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitCount, pBits));
    }
    int GetBitmap(BITMAP* pBitmap) const { return this->GetObject(sizeof(BITMAP), pBitmap); }
};

template <bool t_bManaged> class CRgnT : public CGdiObjectT<HRGN, t_bManaged> {
public:
    using CGdiObjectT<HRGN, t_bManaged>::CGdiObjectT;
    AFX_OWNER_ONLY BOOL CreateRectRgnIndirect(LPCRECT lpRect) {
        return this->IsNull() && this->Attach(::CreateRectRgnIndirect(lpRect));
    }
};

#undef AFX_OWNER_ONLY

using CPen = CPenT<true>;
using CPenHandle = CPenT<false>;
using CBrush = CBrushT<true>;
using CBrushHandle = CBrushT<false>;
using CFont = CFontT<true>;
using CFontHandle = CFontT<false>;
using CBitmap = CBitmapT<true>;
using CBitmapHandle = CBitmapT<false>;
using CRgn = CRgnT<true>;
using CRgnHandle = CRgnT<false>;
