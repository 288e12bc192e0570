// A toolbar control loaded from a toolbar resource: a header of version,
// image width and height and item count, then one command ID per item
// (0 for a separator), plus the bitmap of the same ID with the images.
#pragma once

#include "framework/Wnd.h"

#include <map>

#define RT_TOOLBAR MAKEINTRESOURCEA(241)

class CToolBar : public CWnd {
public:
    // dwStyle mixes window styles with CBRS_ bar styles; the bar styles are kept
    // in the object (see SetBarStyle) and never reach the window.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = AFX_IDW_TOOLBAR);
    BOOL LoadToolBar(UINT nIDResource);
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    // Sets the caption of the button at nIndex (separators count).
    BOOL SetButtonText(int nIndex, LPCSTR lpszText);
    CString GetButtonText(int nIndex) const;
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    int GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    UINT GetItemID(int nIndex) const;
    // The tooltip of command nID's button in place of its caption, for instance with its key.
    void SetButtonTip(UINT nID, LPCSTR lpszTip) { m_tips[nID] = lpszTip; }

protected:
    // Tooltips show the command's tip, or its name: its caption without the padding blanks.
    void OnGetInfoTip(NMHDR* pNMHDR, LRESULT* pResult);

    DWORD m_dwStyle = 0;             // CBRS_ bar styles
    std::map<UINT, CString> m_tips;  // by command

    DECLARE_MESSAGE_MAP()
};
