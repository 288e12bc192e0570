// The platform's tooltip control: a popup owned by the window whose tools it shows.
// The owner relays its mouse messages (RelayEvent) so the tip knows when to appear.
#pragma once

#include "framework/Wnd.h"

class CToolTipCtrl : public CWnd {
public:
    // Creates the tooltip window owned by pParentWnd; dwStyle adds TTS_* styles to WS_POPUP.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
    int SetMaxTipWidth(int nWidth) {
        return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, nWidth));
    }
    void RelayEvent(MSG* pMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg)); }
    // Makes the whole of pWnd a tool showing lpszText; FALSE when the control refused.
    BOOL AddTool(CWnd* pWnd, LPCSTR lpszText);
    void UpdateTipText(LPCSTR lpszText, CWnd* pWnd);
    // Whether pWnd is a tool of this control.
    BOOL HasTool(CWnd* pWnd) const;
};
