#include "controls/toolbar/ImageToolBar.h"

#include "framework/DC.h"
#include "framework/Gdi.h"
#include "framework/Menu.h"

#include <algorithm>
#include <utility>

namespace {
// The slot of m_imageLists that a list-setting message fills, or -1.
int StateOf(UINT message) {
    switch (message) {
    case TB_SETIMAGELIST:
        return 0;
    case TB_SETHOTIMAGELIST:
        return 1;
    case TB_SETDISABLEDIMAGELIST:
        return 2;
    default:
        return -1;
    }
}

// The colour of the strip's first pixel in memory: the bottom left of a bottom-up strip,
// the top left of a top-down one. Read through a DC, since below 24 bits per pixel the
// stored bits are palette indices or packed channels. CLR_INVALID when it cannot be read.
COLORREF FirstPixelColor(HBITMAP hBitmap) {
    DIBSECTION dib = {};
    CMemoryDC dc;
    if (::GetObjectA(hBitmap, sizeof(dib), &dib) != sizeof(dib) || !dc.CreateCompatibleDC(nullptr))
        return CLR_INVALID;
    CSelectGuard select(dc, hBitmap);
    return ::GetPixel(dc, 0, dib.dsBmih.biHeight > 0 ? dib.dsBm.bmHeight - 1 : 0);
}
}  // namespace

BEGIN_MESSAGE_MAP(CImageToolBar, CToolBar)
ON_NOTIFY_REFLECT(TBN_DROPDOWN, &CImageToolBar::OnDropDown)
END_MESSAGE_MAP()

CImageToolBar::~CImageToolBar() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CImageToolBar::SetImageLists(int cxImage, UINT idNormal, UINT idHot, UINT idDisabled) {
    if (!SetImageListFromBitmap(TB_SETIMAGELIST, idNormal, cxImage))
        return FALSE;
    if (idHot != 0 && !SetImageListFromBitmap(TB_SETHOTIMAGELIST, idHot, cxImage))
        return FALSE;
    if (idDisabled != 0 && !SetImageListFromBitmap(TB_SETDISABLEDIMAGELIST, idDisabled, cxImage))
        return FALSE;
    return TRUE;
}

BOOL CImageToolBar::SetImageListFromBitmap(UINT message, UINT idBitmap, int cxImage) {
    int nState = StateOf(message);
    if (nState < 0 || cxImage <= 0 || !IsWindow())
        return FALSE;
    // A DIB section keeps the strip's own depth and lets us read its first pixel.
    CBitmap bitmap(static_cast<HBITMAP>(
        ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(LOWORD(idBitmap)), IMAGE_BITMAP, 0, 0,
                     LR_CREATEDIBSECTION | LR_DEFAULTSIZE)));
    BITMAP info = {};
    if (bitmap.IsNull() || !bitmap.GetBitmap(&info) || !info.bmBits)
        return FALSE;
    // Columns left over at the right edge belong to no image.
    int nImages = info.bmWidth / cxImage;
    if (nImages < 1)
        return FALSE;
    const COLORREF crTransparent = FirstPixelColor(bitmap);
    CImageList list;
    if (crTransparent == CLR_INVALID ||
        !list.Create(cxImage, info.bmHeight, ILC_COLOR24 | ILC_MASK, nImages, 0) ||
        ImageList_AddMasked(list, bitmap, crTransparent) == -1)
        return FALSE;
    SendMessage(message, 0, reinterpret_cast<LPARAM>(list.GetSafeHandle()));
    // The list copied the bitmap, which goes with its wrapper; the replaced list is unused now.
    m_imageLists[nState] = std::move(list);
    return TRUE;
}

BOOL CImageToolBar::AddDropDown(UINT idButton, UINT idMenu, CWnd* pOwner) {
    TBBUTTONINFOA button = {};
    button.cbSize = sizeof(button);
    button.dwMask = TBIF_STYLE;
    if (!pOwner || SendMessage(TB_GETBUTTONINFOA, idButton, reinterpret_cast<LPARAM>(&button)) < 0)
        return FALSE;
    m_dropDowns.push_back({idButton, idMenu, pOwner});
    // The control sends TBN_DROPDOWN only for drop-down buttons, and draws their arrows
    // only with this extended style.
    SendMessage(TB_SETEXTENDEDSTYLE, 0, SendMessage(TB_GETEXTENDEDSTYLE) | TBSTYLE_EX_DRAWDDARROWS);
    button.fsStyle |= BTNS_DROPDOWN;
    SendMessage(TB_SETBUTTONINFOA, idButton, reinterpret_cast<LPARAM>(&button));
    return TRUE;
}

void CImageToolBar::OnDropDown(NMHDR* pNotifyStruct, LRESULT*) {
    const auto* pNotify = reinterpret_cast<const NMTOOLBARA*>(pNotifyStruct);
    auto found = std::find_if(m_dropDowns.begin(), m_dropDowns.end(), [&](const DropDownEntry& e) {
        return e.idButton == static_cast<UINT>(pNotify->iItem);
    });
    if (found == m_dropDowns.end())
        return;
    // A copy: the owner's commands may add entries while the menu is up.
    DropDownEntry entry = *found;
    UINT idMenu = LOWORD(entry.idMenu);
    CMenu menu;
    if (!menu.LoadMenu(AfxFindResourceHandle(MAKEINTRESOURCEA(idMenu), RT_MENU), idMenu))
        return;
    CMenuHandle popup = menu.GetSubMenu(0);
    if (popup.IsNull())
        return;
    CRect rcButton;
    SendMessage(TB_GETRECT, static_cast<WPARAM>(pNotify->iItem),
                reinterpret_cast<LPARAM>(&rcButton));
    ClientToScreen(&rcButton);
    popup.TrackPopupMenu(TPM_VERTICAL, rcButton.left, rcButton.bottom, entry.pOwner->m_hWnd,
                         &rcButton);
}
