#include "framework/ComboBox.h"

CString CComboBox::GetLBText(int nIndex) const {
    CString text;
    int nLength = static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)));
    if (nLength > 0) {
        SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                    reinterpret_cast<LPARAM>(text.GetBuffer(nLength)));
        text.ReleaseBuffer();
    }
    return text;
}
