#include "playlist/CopyNames.h"

#include <windows.h>

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

BOOL CCopyNames::Filled(const CString& path) const { return m_filled.count(AnsiToWide(path)) != 0; }

void CCopyNames::Fill(const CString& path) { m_filled.insert(AnsiToWide(path)); }

bool CCopyNames::NameLess::operator()(const std::wstring& a, const std::wstring& b) const {
    // The system's own upper-case table, as the file system uses it.
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
}
