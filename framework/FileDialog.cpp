#include "framework/FileDialog.h"

#include "framework/CodePage.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                         DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd),
      m_strDefExt(lpszDefExt), m_szFileName() {
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.hInstance = AfxGetInstanceHandle();
    m_ofn.lpstrDefExt = lpszDefExt ? static_cast<LPCSTR>(m_strDefExt) : nullptr;
    if (lpszFileName)
        CopyWholeChars(m_szFileName, sizeof(m_szFileName), lpszFileName);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof(m_szFileName);
    if (lpszFilter) {
        m_strFilter = lpszFilter;
        LPSTR pch = m_strFilter.GetBuffer(0);
        for (; *pch; ++pch) {
            if (*pch == '|')
                *pch = '\0';
        }
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal() {
    if (!m_ofn.hwndOwner) {
        CWnd* pOwner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
        m_ofn.hwndOwner = pOwner ? pOwner->m_hWnd : nullptr;
    }
    if (m_ofn.Flags & OFN_ALLOWMULTISELECT) {
        m_ofn.Flags |= OFN_ENABLEHOOK;
        m_ofn.lpfnHook = HookProc;
        m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    }
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

// The dialog writes the chosen names into lpstrFile when it closes, and with too small a
// buffer one platform fails while another cuts the list mid-name. The buffer is therefore
// grown while the choice changes (the selection notification) and once more when Open is
// pressed, which also covers names typed into the dialog.
UINT_PTR CALLBACK CFileDialog::HookProc(HWND hHook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* pThis =
            reinterpret_cast<CFileDialog*>(reinterpret_cast<OPENFILENAMEA*>(lParam)->lCustData);
        ::SetWindowLongPtrA(hHook, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
        ::SetWindowSubclass(::GetParent(hHook), DialogSubclassProc, 0,
                            reinterpret_cast<DWORD_PTR>(pThis));
    } else if (message == WM_NOTIFY &&
               reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(CDN_SELCHANGE)) {
        auto* pThis = reinterpret_cast<CFileDialog*>(::GetWindowLongPtrA(hHook, GWLP_USERDATA));
        pThis->FitBufferToChoice(::GetParent(hHook));
    }
    return 0;
}

LRESULT CALLBACK CFileDialog::DialogSubclassProc(HWND hDlg, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR uIdSubclass,
                                                 DWORD_PTR dwRefData) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
        reinterpret_cast<CFileDialog*>(dwRefData)->FitBufferToChoice(hDlg);
    else if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(hDlg, DialogSubclassProc, uIdSubclass);
    return ::DefSubclassProc(hDlg, message, wParam, lParam);
}

void CFileDialog::FitBufferToChoice(HWND hDlg) {
    // The result is the folder and each name, every one ended by a zero, and one zero more;
    // the names take no more room than the typed or shown text that quotes them.
    const auto nSpec =
        static_cast<DWORD>(std::max<LRESULT>(0, ::SendMessageA(hDlg, CDM_GETSPEC, 0, 0)));
    const auto nFolder =
        static_cast<DWORD>(std::max<LRESULT>(0, ::SendMessageA(hDlg, CDM_GETFOLDERPATH, 0, 0)));
    const DWORD nNeeded = nFolder + nSpec + MAX_PATH;
    if (nNeeded <= m_ofn.nMaxFile)
        return;
    // Doubling keeps a selection that grows one name at a time from copying quadratically.
    m_grownFile.assign(std::max<size_t>(nNeeded, 2 * static_cast<size_t>(m_ofn.nMaxFile)), '\0');
    m_ofn.lpstrFile = m_grownFile.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_grownFile.size());
}

LPCSTR CFileDialog::WholeNameAt(LPCSTR psz) const {
    LPCSTR pszEnd = m_ofn.lpstrFile + m_ofn.nMaxFile;
    if (psz >= pszEnd || *psz == '\0')
        return nullptr;
    return std::memchr(psz, '\0', static_cast<size_t>(pszEnd - psz)) ? psz : nullptr;
}

BOOL CFileDialog::SeveralChosen() const {
    LPCSTR pszBuffer = m_ofn.lpstrFile;
    return (m_ofn.Flags & OFN_ALLOWMULTISELECT) && WholeNameAt(pszBuffer) &&
           pszBuffer + std::strlen(pszBuffer) + 1 < pszBuffer + m_ofn.nMaxFile &&
           pszBuffer[std::strlen(pszBuffer) + 1] != '\0';
}

POSITION CFileDialog::GetStartPosition() const {
    LPCSTR pszBuffer = m_ofn.lpstrFile;
    if (!pszBuffer || !WholeNameAt(pszBuffer))
        return nullptr;
    // One file: the buffer holds its full path. Several: the folder, then each name.
    if (!SeveralChosen())
        return const_cast<LPSTR>(pszBuffer);
    return const_cast<LPSTR>(WholeNameAt(pszBuffer + std::strlen(pszBuffer) + 1));
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
    LPCSTR pszBuffer = m_ofn.lpstrFile;
    auto* pszCurrent = static_cast<LPCSTR>(pos);
    if (pszCurrent == pszBuffer) {
        pos = nullptr;
        return CString(pszBuffer);
    }
    CString name(pszCurrent);
    pos = const_cast<LPSTR>(WholeNameAt(pszCurrent + name.GetLength() + 1));

    return JoinPath(pszBuffer, name);
}
