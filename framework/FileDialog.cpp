#include "framework/FileDialog.h"

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
        lstrcpynA(m_szFileName, lpszFileName, MAX_PATH);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
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
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

POSITION CFileDialog::GetStartPosition() const {
    return m_ofn.lpstrFile && *m_ofn.lpstrFile ? static_cast<POSITION>(m_ofn.lpstrFile) : nullptr;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
    LPCSTR pszBuffer = m_ofn.lpstrFile;
    auto* pszCurrent = static_cast<LPCSTR>(pos);
    // One file: the buffer holds its full path. Several: the folder, then each name.
    BOOL bSeveral =
        (m_ofn.Flags & OFN_ALLOWMULTISELECT) && pszBuffer[strlen(pszBuffer) + 1] != '\0';
    if (!bSeveral) {
        pos = nullptr;
        return CString(pszBuffer);
    }
    if (pszCurrent == pszBuffer)
        pszCurrent += strlen(pszBuffer) + 1;
    CString name(pszCurrent);
    pszCurrent += name.GetLength() + 1;
    pos = *pszCurrent ? const_cast<LPSTR>(pszCurrent) : nullptr;

    CString folder(pszBuffer);
    if (folder.GetLength() > 0 && folder[folder.GetLength() - 1] != '\\')
        folder += '\\';
    return folder + name;
}
