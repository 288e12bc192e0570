// Push buttons, check boxes and group boxes.
#pragma once

#include "framework/Wnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
    UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }

    // An owner-drawn button paints here, for each WM_DRAWITEM its parent receives for it.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}

protected:
    DECLARE_MESSAGE_MAP()
};
