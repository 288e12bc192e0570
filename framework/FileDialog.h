// The common open/save file dialog, with multi-selection read back path by path.
#pragma once

#include "framework/Wnd.h"

#include <commdlg.h>

#include <vector>

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
    // With multi-selection the result buffer grows as the choice does, so every chosen
    // name comes back whole, however long the choice.
    INT_PTR DoModal();
    // Walks the chosen files: each call returns one full path. A name that does not end
    // inside the buffer was cut off by the dialog and is never returned.
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    CString m_strDefExt;
    CString m_strFilter;  // '\0'-separated, as the dialog wants it
    // A whole path in any code page: a UTF-16 unit takes at most three bytes.
    char m_szFileName[3 * MAX_PATH];
    std::vector<char> m_grownFile;  // the result buffer once the caller's was too small

    static UINT_PTR CALLBACK HookProc(HWND hHook, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK DialogSubclassProc(HWND hDlg, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR uIdSubclass,
                                               DWORD_PTR dwRefData);
    // The name starting at psz, or nullptr at the end of the list or when it is cut off.
    LPCSTR WholeNameAt(LPCSTR psz) const;
    BOOL SeveralChosen() const;
    // Makes lpstrFile large enough for the names now chosen in the dialog hDlg.
    void FitBufferToChoice(HWND hDlg);
};
