#include "framework/CodePage.h"

#include <cstring>

namespace {

// Only in the double-byte code pages can a byte below 0x80 be the second half of a character
// (0x5C, the backslash, ends ソ and 表 in code page 932); in UTF-8 every byte of a longer
// character is 0x80 or above.
bool AsciiMayTrail(UINT nActualCodePage) {
    CPINFO info;
    return nActualCodePage != CP_UTF8 && ::GetCPInfo(nActualCodePage, &info) &&
           info.MaxCharSize == 2;
}

bool IsDoubleByte(UINT nCodePage) {
    static const UINT nProcess = ::GetACP();
    static const bool bProcessDoubleByte = AsciiMayTrail(nProcess);
    nCodePage = ActualCodePage(nCodePage);
    return nCodePage == nProcess ? bProcessDoubleByte : AsciiMayTrail(nCodePage);
}

// Whether a byte search finds ch only where it stands as a character of its own.
bool BytesWillDo(char ch, UINT nCodePage) {
    return static_cast<BYTE>(ch) < 0x80 && !IsDoubleByte(nCodePage);
}

}  // namespace

UINT ActualCodePage(UINT nCodePage) { return nCodePage == CP_ACP ? ::GetACP() : nCodePage; }

int CharBytesAt(LPCSTR psz, UINT nCodePage) {
    const auto lead = static_cast<BYTE>(psz[0]);
    if (lead < 0x80)
        return 1;
    nCodePage = ActualCodePage(nCodePage);
    if (nCodePage != CP_UTF8)
        return ::IsDBCSLeadByteEx(nCodePage, lead) && psz[1] ? 2 : 1;
    const int nBytes = lead > 0xF4 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    for (int i = 1; i < nBytes; ++i) {
        if ((static_cast<BYTE>(psz[i]) & 0xC0) != 0x80)
            return 1;
    }
    return nBytes;
}

int FindChar(LPCSTR pch, int nLength, char ch, int nStart, UINT nCodePage) {
    if (nStart < 0 || nStart >= nLength)
        return -1;
    if (BytesWillDo(ch, nCodePage)) {
        const void* hit = std::memchr(pch + nStart, ch, static_cast<size_t>(nLength - nStart));
        return hit ? static_cast<int>(static_cast<LPCSTR>(hit) - pch) : -1;
    }
    for (int i = nStart; i < nLength; i += CharBytesAt(pch + i, nCodePage)) {
        if (pch[i] == ch)
            return i;
    }
    return -1;
}

int FindText(LPCSTR pch, int nLength, LPCSTR pszSub, int nStart, UINT nCodePage) {
    if (nStart < 0 || nStart > nLength)
        return -1;
    if (!IsDoubleByte(nCodePage)) {
        LPCSTR hit = std::strstr(pch + nStart, pszSub);
        return hit ? static_cast<int>(hit - pch) : -1;
    }
    const size_t nSub = std::strlen(pszSub);
    for (int i = nStart; i + static_cast<int>(nSub) <= nLength;
         i += CharBytesAt(pch + i, nCodePage)) {
        if (std::strncmp(pch + i, pszSub, nSub) == 0)
            return i;
    }
    return -1;
}

int ReverseFindChar(LPCSTR pch, int nLength, char ch, UINT nCodePage) {
    if (BytesWillDo(ch, nCodePage)) {
        for (int i = nLength - 1; i >= 0; --i) {
            if (pch[i] == ch)
                return i;
        }
        return -1;
    }
    // A trail byte can look like a lead byte, so characters are only known walking forwards.
    int nFound = -1;
    for (int i = 0; i < nLength; i += CharBytesAt(pch + i, nCodePage)) {
        if (pch[i] == ch)
            nFound = i;
    }
    return nFound;
}

size_t CopyWholeChars(char* pDest, size_t nSize, LPCSTR pszSource, UINT nCodePage) {
    if (nSize == 0)
        return 0;
    size_t n = 0;
    while (pszSource && pszSource[n] != '\0') {
        const size_t nChar = static_cast<size_t>(CharBytesAt(pszSource + n, nCodePage));
        if (n + nChar > nSize - 1)
            break;
        n += nChar;
    }
    if (n)
        std::memcpy(pDest, pszSource, n);
    pDest[n] = '\0';
    return n;
}
