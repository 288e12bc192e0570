#include "controls/button/TextCopy.h"

#include <cstring>

size_t CopyWholeChars(char* pDest, size_t nSize, LPCSTR pszSource, UINT nCodePage) {
    if (nSize == 0)
        return 0;
    size_t n = 0;
    // Walk from the start: a trail byte can look like a lead byte, so the cut cannot be
    // judged from the bytes around it.
    while (pszSource && pszSource[n] != '\0') {
        const bool bDouble =
            ::IsDBCSLeadByteEx(nCodePage, static_cast<BYTE>(pszSource[n])) && pszSource[n + 1];
        const size_t nChar = bDouble ? 2 : 1;
        if (n + nChar > nSize - 1)
            break;
        n += nChar;
    }
    if (n)
        std::memcpy(pDest, pszSource, n);
    pDest[n] = '\0';
    return n;
}
