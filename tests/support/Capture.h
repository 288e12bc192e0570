// Headless pictures: drawing into a memory bitmap and reading its pixels back, and the
// client area of a window printed through WM_PRINTCLIENT.
#pragma once

#include "framework/DC.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace test {

// What a picture shows where nothing was drawn.
const COLORREF kUnpainted = RGB(255, 0, 255);

// CRect has no ==; compared as text, a failure shows both rectangles.
inline std::string Str(const RECT& rc) {
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + " - " +
           std::to_string(rc.right) + "," + std::to_string(rc.bottom);
}

// Pixels as COLORREF values, row by row.
struct Picture {
    int cx = 0, cy = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[y * cx + x]; }
    bool operator==(const Picture& other) const { return pixels == other.pixels; }
    // The smallest rectangle holding every pixel of colour cr; empty if none.
    CRect Extent(COLORREF cr) const {
        CRect rc(cx, cy, 0, 0);
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                if (At(x, y) == cr)
                    rc = CRect(std::min<int>(rc.left, x), std::min<int>(rc.top, y),
                               std::max<int>(rc.right, x + 1), std::max<int>(rc.bottom, y + 1));
        return rc.left < rc.right ? rc : CRect();
    }
    // How many pixels have colour cr.
    int Count(COLORREF cr) const {
        return static_cast<int>(std::count(pixels.begin(), pixels.end(), cr));
    }
};

// Draws into a fresh top-down 32-bit DIB of cx by cy, filled with background first.
template <class DrawFn>
Picture Capture(int cx, int cy, DrawFn draw, COLORREF background = kUnpainted) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pBits = nullptr;
    CMemoryDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.Attach(::CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    CSelectGuard guard(dc, bitmap);
    CRect rcAll(0, 0, cx, cy);
    dc.FillSolidRect(rcAll, background);
    draw(dc.m_hDC);
    ::GdiFlush();
    Picture picture;
    picture.cx = cx;
    picture.cy = cy;
    picture.pixels.assign(cx * cy, background);
    const auto* pRow = static_cast<const DWORD*>(pBits);
    if (!pRow)
        ADD_FAILURE() << "no bitmap to draw into";
    for (int i = 0; pRow && i < cx * cy; ++i)
        picture.pixels[i] = RGB(GetBValue(pRow[i]), GetGValue(pRow[i]), GetRValue(pRow[i]));
    return picture;
}

// What a control must put back into a DC it prints into. The platform's own button
// procedure selects the button's font for an owner-drawn button and leaves it there.
enum class Restores { FontAndBitmap, BitmapOnly };

// The window's client area as it paints itself through WM_PRINTCLIENT. The DC must get
// its objects back.
inline Picture PrintClient(HWND hWnd, COLORREF background = kUnpainted,
                           Restores restores = Restores::FontAndBitmap) {
    CRect rc;
    ::GetClientRect(hWnd, &rc);
    return Capture(
        rc.Width(), rc.Height(),
        [&](HDC hDC) {
            HGDIOBJ hFont = ::GetCurrentObject(hDC, OBJ_FONT);
            HGDIOBJ hBitmap = ::GetCurrentObject(hDC, OBJ_BITMAP);
            ::SendMessageA(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
            if (restores == Restores::FontAndBitmap) {
                EXPECT_EQ(::GetCurrentObject(hDC, OBJ_FONT), hFont);
            }
            EXPECT_EQ(::GetCurrentObject(hDC, OBJ_BITMAP), hBitmap);
        },
        background);
}

// The window's pixels as they are on the screen now.
inline Picture Screen(HWND hWnd) {
    CRect rc;
    ::GetClientRect(hWnd, &rc);
    return Capture(rc.Width(), rc.Height(), [&](HDC hDC) {
        HDC hScreen = ::GetDC(hWnd);
        ::BitBlt(hDC, 0, 0, rc.Width(), rc.Height(), hScreen, 0, 0, SRCCOPY);
        ::ReleaseDC(hWnd, hScreen);
    });
}

}  // namespace test
