#include "framework/ToolBar.h"

#include "framework/CodePage.h"

#include <vector>

namespace {
struct ToolBarData {
    WORD wVersion;
    WORD wWidth;
    WORD wHeight;
    WORD wItemCount;
    WORD items[1];  // wItemCount entries
};
}  // namespace

BEGIN_MESSAGE_MAP(CToolBar, CWnd)
ON_NOTIFY_REFLECT(TBN_GETINFOTIPA, &CToolBar::OnGetInfoTip)
END_MESSAGE_MAP()

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_dwStyle = dwStyle & CBRS_ALL;
    // The parent places the bar itself, so the control must not move or size itself.
    DWORD windowStyle =
        (dwStyle & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_TOOLTIPS;
    if (!CreateEx(0, TOOLBARCLASSNAMEA, nullptr, windowStyle, CRect(), pParentWnd, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    HINSTANCE hInst = AfxGetResourceHandle();
    auto* pData =
        static_cast<const ToolBarData*>(AfxLockResource(MAKEINTRESOURCEA(nIDResource), RT_TOOLBAR));
    if (!pData || pData->wVersion != 1)
        return FALSE;

    std::vector<TBBUTTON> buttons(pData->wItemCount);
    int nImages = 0;
    for (WORD i = 0; i < pData->wItemCount; ++i) {
        TBBUTTON& button = buttons[i];
        button = TBBUTTON{};
        button.idCommand = pData->items[i];
        button.iString = -1;
        if (button.idCommand == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = nImages++;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
    }

    SetSizes(CSize(pData->wWidth + 7, pData->wHeight + 7), CSize(pData->wWidth, pData->wHeight));
    TBADDBITMAP bitmap = {hInst, nIDResource};
    if (SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(nImages), reinterpret_cast<LPARAM>(&bitmap)) <
        0)
        return FALSE;
    return static_cast<BOOL>(
        SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())));
}

BOOL CToolBar::SetButtonText(int nIndex, LPCSTR lpszText) {
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
    info.pszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(nIndex),
                                         reinterpret_cast<LPARAM>(&info)));
}

CString CToolBar::GetButtonText(int nIndex) const {
    // Asked for its length first, so a long text is never cut inside a character.
    const auto id = static_cast<WPARAM>(GetItemID(nIndex));
    const auto nLength = static_cast<int>(SendMessage(TB_GETBUTTONTEXTA, id, 0));
    CString text;
    if (nLength > 0) {
        SendMessage(TB_GETBUTTONTEXTA, id, reinterpret_cast<LPARAM>(text.GetBuffer(nLength)));
        text.ReleaseBuffer();
    }
    return text;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
    Invalidate();
}

UINT CToolBar::GetItemID(int nIndex) const {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button));
    return static_cast<UINT>(button.idCommand);
}

void CToolBar::OnGetInfoTip(NMHDR* pNMHDR, LRESULT*) {
    auto* pTip = reinterpret_cast<NMTBGETINFOTIPA*>(pNMHDR);
    if (!(m_dwStyle & CBRS_TOOLTIPS) || !pTip->pszText || pTip->cchTextMax <= 0)
        return;
    auto tip = m_tips.find(static_cast<UINT>(pTip->iItem));
    int nIndex = static_cast<int>(SendMessage(TB_COMMANDTOINDEX, static_cast<WPARAM>(pTip->iItem)));
    CString text = tip != m_tips.end() ? tip->second : GetButtonText(nIndex).Trim();
    CopyWholeChars(pTip->pszText, static_cast<size_t>(pTip->cchTextMax), text);
}
