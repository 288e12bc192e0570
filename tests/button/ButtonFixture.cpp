#include "tests/button/ButtonFixture.h"

#include <vector>

namespace button_test {

BEGIN_MESSAGE_MAP(Parent, CWnd)
ON_WM_ERASEBKGND()
ON_MESSAGE(kMenuNotify, &Parent::OnMenuNotify)
END_MESSAGE_MAP()

BOOL Parent::OnEraseBkgnd(CDC* pDC) {
    CRect rc;
    GetClientRect(rc);
    pDC->FillSolidRect(rc, m_crBack);
    return TRUE;
}

LRESULT Parent::OnMenuNotify(WPARAM wParam, LPARAM) {
    ::InsertMenuA(reinterpret_cast<HMENU>(wParam), 0, MF_BYPOSITION | MF_STRING, 502, "Added");
    return 0;
}

std::pair<HBITMAP, HBITMAP> MakeImage(int cx, COLORREF crInner) {
    std::vector<DWORD> colour(cx * cx);
    const int nRowBytes = (cx + 15) / 16 * 2;
    std::vector<BYTE> mask(nRowBytes * cx, 0);
    for (int y = 0; y < cx; ++y)
        for (int x = 0; x < cx; ++x) {
            if (x >= 4 && y >= 4 && x < cx - 4 && y < cx - 4)
                colour[y * cx + x] =
                    RGB(GetBValue(crInner), GetGValue(crInner), GetRValue(crInner));
            else
                mask[y * nRowBytes + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    return {::CreateBitmap(cx, cx, 1, 32, colour.data()),
            ::CreateBitmap(cx, cx, 1, 1, mask.data())};
}

HICON MakeIcon(int cx, COLORREF crInner) {
    auto [hColour, hMask] = MakeImage(cx, crInner);
    const CBitmap colour(hColour), mask(hMask);  // the icon keeps copies of both
    ICONINFO info = {TRUE, 0, 0, mask, colour};
    return ::CreateIconIndirect(&info);
}

void ButtonTest::SetUp() {
    ASSERT_TRUE(m_parent.CreateEx(WS_EX_TOPMOST, test::TestWindowClass(), "parent",
                                  WS_POPUP | WS_VISIBLE, CRect(100, 100, 400, 300), nullptr, 0));
    Attach(BS_PUSHBUTTON);
}

void ButtonTest::Attach(DWORD dwStyle) {
    m_button = std::make_unique<Probe>();
    HWND hWnd =
        ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | dwStyle, 10, 10, 48,
                          40, m_parent, reinterpret_cast<HMENU>(kId), nullptr, nullptr);
    ASSERT_TRUE(m_button->SubclassWindow(hWnd));
}

Picture ButtonTest::Paint(UINT nState) {
    return test::Capture(48, 40, [&](HDC hDC) {
        DRAWITEMSTRUCT dis = {ODT_BUTTON,     kId, 0, ODA_DRAWENTIRE, nState, *m_button, hDC,
                              {0, 0, 48, 40}, 0};
        m_button->DrawItem(&dis);
    });
}

void ButtonTest::Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.hwnd == m_button->m_hWnd && m_button->PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

}  // namespace button_test
