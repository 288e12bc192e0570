// The button's images: icons from resources or handles, grey and dark idle icons derived
// from the hot one, and bitmaps with their masks.
#include "controls/button/SkinButton.h"

#include <algorithm>

namespace {

bool IsIdleSelector(HICON hIdle) {
    const INT_PTR n = reinterpret_cast<INT_PTR>(hIdle);
    return n == CSkinButton::IdleIconGrey || n == CSkinButton::IdleIconDark;
}

// An icon's information; the bitmaps GetIconInfo hands out go with it.
struct IconInfo {
    ICONINFO info = {};
    BOOL bRead;
    CBitmap mask, colour;
    explicit IconInfo(HICON hIcon)
        : bRead(hIcon && ::GetIconInfo(hIcon, &info)), mask(info.hbmMask), colour(info.hbmColor) {}
};

COLORREF GreyPixel(COLORREF p) {
    const int g =
        static_cast<int>(0.587 * GetGValue(p) + 0.114 * GetBValue(p) + 0.299 * GetRValue(p));
    return RGB(g, g, g);
}

COLORREF DarkPixel(COLORREF p) { return CSkinButton::ShadeColor(p, 0.25); }

// Takes h into owners once. A handle held before is moved over from previous rather than
// taken anew, so that releasing what is left there does not release it.
template <class Owner, class Handle>
void Adopt(std::vector<Owner>& owners, std::vector<Owner>& previous, Handle h) {
    auto holdsH = [h](const Owner& owner) { return owner.GetSafeHandle() == h; };
    if (!h || std::any_of(owners.begin(), owners.end(), holdsH))
        return;
    auto held = std::find_if(previous.begin(), previous.end(), holdsH);
    if (held == previous.end()) {
        owners.emplace_back(h);
        return;
    }
    owners.push_back(std::move(*held));
    previous.erase(held);
}

BOOL ReadBitmapSize(SkinBitmap& bitmap) {
    BITMAP bm = {}, mask = {};
    if (!bitmap.hBitmap || !bitmap.hMask || !::GetObjectA(bitmap.hBitmap, sizeof(bm), &bm) ||
        !::GetObjectA(bitmap.hMask, sizeof(mask), &mask))
        return FALSE;
    bitmap.cx = static_cast<DWORD>(bm.bmWidth);
    bitmap.cy = static_cast<DWORD>(bm.bmHeight);
    return TRUE;
}

}  // namespace

int CSkinButton::SetIconsFromResources(UINT nHotId, int nHotCx, int nHotCy, int nIdle, int nIdleCx,
                                       int nIdleCy) {
    const HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(LOWORD(nHotId)), RT_GROUP_ICON);
    const HICON hHot = static_cast<HICON>(::LoadImageA(
        hInst, MAKEINTRESOURCEA(LOWORD(nHotId)), IMAGE_ICON, nHotCx, nHotCy, LR_DEFAULTCOLOR));
    if (nIdle == IdleIconDark || nIdle == IdleIconGrey)
        return SetIcons(hHot, IdleIconHandle(nIdle));
    if (nIdle == 0)
        return SetIcons(hHot, nullptr);
    const HICON hIdle = static_cast<HICON>(::LoadImageA(
        hInst, MAKEINTRESOURCEA(LOWORD(nIdle)), IMAGE_ICON, nIdleCx, nIdleCy, LR_DEFAULTCOLOR));
    return SetIcons(hHot, hIdle);
}

int CSkinButton::SetIconsFromResources(UINT nHotId, int nIdle) {
    return SetIconsFromResources(nHotId, 0, 0, nIdle, 0, 0);
}

int CSkinButton::SetIcons(HICON hHot, HICON hIdle) {
    const HICON hOwnIdle = IsIdleSelector(hIdle) ? nullptr : hIdle;
    // Owned at once, so that every failure below releases both.
    TakeImages({hHot, hOwnIdle}, {});
    m_icons[0].hIcon = hHot;
    m_icons[1].hIcon = hOwnIdle;
    if (!hHot) {
        FreeImages(TRUE);
        Repaint();
        return SkinOk;
    }
    if (!ReadIconSize(m_icons[0])) {
        FreeImages(TRUE);
        return SkinBadIcon;
    }
    if (hIdle) {
        if (IsIdleSelector(hIdle)) {
            const HICON hDerived = reinterpret_cast<INT_PTR>(hIdle) == IdleIconDark
                                       ? MakeDarkIcon(hHot)
                                       : MakeGreyIcon(hHot);
            m_icons[1].hIcon = hDerived;
            if (hDerived)
                m_imageOwners.icons.emplace_back(hDerived);
        }
        if (!ReadIconSize(m_icons[1])) {
            FreeImages(TRUE);
            return SkinBadIcon;
        }
    }
    Repaint();
    return SkinOk;
}

int CSkinButton::SetBitmaps(HBITMAP hHot, HBITMAP hHotMask, HBITMAP hIdle, HBITMAP hIdleMask) {
    TakeImages({}, {hHot, hHotMask, hIdle, hIdleMask});
    m_bitmaps[0].hBitmap = hHot;
    m_bitmaps[0].hMask = hHotMask;
    m_bitmaps[1].hBitmap = hIdle;
    m_bitmaps[1].hMask = hIdleMask;
    if (!hHot) {
        FreeImages(TRUE);
        Repaint();
        return SkinOk;
    }
    if (!ReadBitmapSize(m_bitmaps[0]) || ((hIdle || hIdleMask) && !ReadBitmapSize(m_bitmaps[1]))) {
        FreeImages(TRUE);
        return SkinBadBitmap;
    }
    Repaint();
    return SkinOk;
}

void CSkinButton::FreeImages(BOOL bRelease) {
    if (!bRelease) {
        // Given up, not released: whoever else holds the handles keeps them.
        for (CIcon& icon : m_imageOwners.icons)
            icon.Detach();
        for (CBitmap& bitmap : m_imageOwners.bitmaps)
            bitmap.Detach();
    }
    m_imageOwners = {};
    for (SkinIcon& icon : m_icons)
        icon = {nullptr, 0, 0};
    for (SkinBitmap& bitmap : m_bitmaps)
        bitmap = {nullptr, 0, 0, nullptr};
}

void CSkinButton::TakeImages(std::initializer_list<HICON> icons,
                             std::initializer_list<HBITMAP> bitmaps) {
    SkinImageOwners owners;
    for (HICON hIcon : icons)
        Adopt(owners.icons, m_imageOwners.icons, hIcon);
    for (HBITMAP hBitmap : bitmaps)
        Adopt(owners.bitmaps, m_imageOwners.bitmaps, hBitmap);
    // What is left of the images held before goes now, each once.
    FreeImages(TRUE);
    m_imageOwners = std::move(owners);
}

BOOL CSkinButton::ReadIconSize(SkinIcon& icon) {
    IconInfo info(icon.hIcon);
    if (!info.bRead)
        return FALSE;
    // An icon's hot spot is its centre.
    icon.cx = 2 * info.info.xHotspot;
    icon.cy = 2 * info.info.yHotspot;
    return TRUE;
}

HICON CSkinButton::MakeGreyIcon(HICON hIcon) { return MakeDerivedIcon(hIcon, GreyPixel); }

HICON CSkinButton::MakeDarkIcon(HICON hIcon) { return MakeDerivedIcon(hIcon, DarkPixel); }

HICON CSkinButton::MakeDerivedIcon(HICON hIcon, COLORREF (*pfnPixel)(COLORREF)) {
    IconInfo icon(hIcon);
    if (!icon.bRead)
        return nullptr;
    CClientDC dcScreen(static_cast<HWND>(nullptr));
    CMemoryDC dcSource, dcTarget;
    if (!dcScreen.GetSafeHdc() || !dcSource.CreateCompatibleDC(dcScreen) ||
        !dcTarget.CreateCompatibleDC(dcScreen))
        return nullptr;
    // A monochrome icon has no colour bitmap and so gives no derived icon.
    BITMAP bm = {};
    if (icon.colour.IsNull() || !icon.colour.GetBitmap(&bm))
        return nullptr;
    const int cx = static_cast<int>(2 * icon.info.xHotspot);
    const int cy = static_cast<int>(2 * icon.info.yHotspot);
    CBitmap derived;
    if (!derived.CreateBitmap(cx, cy, bm.bmPlanes, bm.bmBitsPixel, nullptr))
        return nullptr;
    {
        CSelectGuard selectSource(dcSource, icon.colour);
        CSelectGuard selectTarget(dcTarget, derived);
        for (int y = 0; y < cy; ++y) {
            for (int x = 0; x < cx; ++x) {
                const COLORREF p = ::GetPixel(dcSource, x, y);
                // Black is the transparent part: it stays black under the kept mask.
                ::SetPixel(dcTarget, x, y, p == 0 ? 0 : pfnPixel(p));
            }
        }
    }
    ICONINFO info = {TRUE, 0, 0, icon.mask, derived};
    // The icon keeps copies of both bitmaps; ours go when the owners do.
    return ::CreateIconIndirect(&info);
}

COLORREF CSkinButton::ShadeColor(COLORREF cr, double factor) {
    if (!(factor > 0 && factor <= 1))
        return cr;
    auto shade = [factor](BYTE v) { return static_cast<BYTE>(v - v * factor); };
    return RGB(shade(GetRValue(cr)), shade(GetGValue(cr)), shade(GetBValue(cr)));
}
