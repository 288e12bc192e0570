#include "copy/CopyNames.h"

CCopyNames::CCopyNames(UINT nRows) : m_nDigits(3) {
    // Up to 999 rows keep the three digits that players and users already know.
    for (UINT n = nRows; n >= 1000; n /= 10)
        ++m_nDigits;
}

CString CCopyNames::Name(UINT nRow, const CString& fileName, BOOL bPrefix) const {
    if (!bPrefix)
        return fileName;
    CString name;
    name.Format("%0*u_%s", m_nDigits, nRow + 1, static_cast<LPCSTR>(fileName));
    return name;
}

BOOL CCopyNames::Filled(const CString& name) const { return m_filled.count(AnsiToWide(name)) != 0; }

void CCopyNames::Fill(const CString& name) { m_filled.insert(AnsiToWide(name)); }

CString ListOfNames(const std::vector<CString>& names, size_t nShown) {
    CString text;
    for (size_t i = 0; i < names.size() && i < nShown; ++i)
        text += (i ? ", " : "") + names[i];
    if (names.size() > nShown) {
        CString more;
        more.Format(" and %u more", static_cast<unsigned>(names.size() - nShown));
        text += more;
    }
    return text;
}
