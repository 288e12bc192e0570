// The common open/save file dialog, with multi-selection read back path by path.
#pragma once

#include "framework/Wnd.h"

#include <commdlg.h>

typedef void* POSITION;

class CFileDialog {
public:
    // lpszFilter separates its entries with '|' and ends with "||".
    CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    OPENFILENAMEA m_ofn;  // callers may replace lpstrFile and nMaxFile before DoModal

    // IDOK when the user chose files, IDCANCEL otherwise (also when the dialog failed).
    INT_PTR DoModal();
    // Walks the chosen files: each call returns one full path.
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    CString m_strDefExt;
    CString m_strFilter;  // '\0'-separated, as the dialog wants it
    char m_szFileName[MAX_PATH];
};
