#include "copy/DirectoryEntries.h"

#include <algorithm>

namespace {

const int kLongNameUnits = 255;
const int kExFatPartUnits = 15;

DWORD Le16(const BYTE* p) { return p[0] | (p[1] << 8); }

BYTE ShortNameChecksum(const BYTE* pName) {
    BYTE nSum = 0;
    for (int i = 0; i < 11; ++i)
        nSum = static_cast<BYTE>(((nSum & 1) << 7) + (nSum >> 1) + pName[i]);
    return nSum;
}

// "NAME.EXT" of an 8.3 entry, in the case the entry's flags give, in wide; its length.
int ShortName(const BYTE* pEntry, wchar_t (&wide)[13]) {
    char name[13];
    int n = 0;
    for (int i = 0; i < 11; ++i) {
        if (i == 8 && pEntry[8] != ' ')
            name[n++] = '.';
        char ch = static_cast<char>(i == 0 && pEntry[0] == 0x05 ? 0xE5 : pEntry[i]);
        if (ch == ' ')
            continue;
        if ((pEntry[12] & (i < 8 ? 0x08 : 0x10)) && ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch + ('a' - 'A'));
        name[n++] = ch;
    }
    return std::max(::MultiByteToWideChar(CP_OEMCP, 0, name, n, wide, 13), 0);
}

}  // namespace

bool CFatEntryNames::Add(const BYTE* pEntry) {
    if (pEntry[0] == 0x00)
        return false;
    const bool bDeleted = pEntry[0] == 0xE5;
    if (!bDeleted && (pEntry[11] & 0x3F) == 0x0F) {
        // Parts stand last part first, numbered down to 1; the last one is flagged.
        const int nPart = pEntry[0] & 0x1F;
        if (pEntry[0] & 0x40) {
            m_nParts = nPart <= kMostParts ? nPart : 0;
            m_nChecksum = pEntry[13];
        } else if (m_nParts == 0 || nPart != m_nNext || pEntry[13] != m_nChecksum) {
            m_nParts = 0;
        }
        if (m_nParts > 0 && nPart >= 1) {
            static const int kUnitAt[kPartUnits] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
            for (int i = 0; i < kPartUnits; ++i)
                m_parts[nPart - 1][i] = static_cast<wchar_t>(Le16(pEntry + kUnitAt[i]));
            m_nNext = nPart - 1;
        } else {
            m_nParts = 0;
        }
        return true;
    }
    // A deleted entry, or the volume's label, ends what was gathered.
    if (!bDeleted && !(pEntry[11] & 0x08)) {
        wchar_t shortName[13];
        const wchar_t* pName = shortName;
        size_t nLength = static_cast<size_t>(ShortName(pEntry, shortName));
        if (m_nParts > 0 && m_nNext == 0 && m_nChecksum == ShortNameChecksum(pEntry)) {
            const wchar_t* pUnits = m_parts[0];
            const size_t nUnits = static_cast<size_t>(m_nParts) * kPartUnits;
            const size_t nLong =
                static_cast<size_t>(std::find(pUnits, pUnits + nUnits, L'\0') - pUnits);
            if (nLong >= 1 && nLong <= kLongNameUnits) {
                pName = pUnits;
                nLength = nLong;
            }
        }
        const bool bDots = nLength <= 2 && pName[0] == L'.' && pName[nLength - 1] == L'.';
        if (nLength > 0 && !bDots)
            m_name(pName, nLength);
    }
    m_nParts = 0;
    return true;
}

bool CExFatEntryNames::Add(const BYTE* pEntry) {
    const BYTE nType = pEntry[0];
    if (nType == 0x00)
        return false;
    if (m_nLeft > 0) {
        // A set is its entries in a row: the stream extension first, then the name's parts
        // and perhaps entries of other kinds.
        if (m_bStream ? nType >= 0xC0 : nType == 0xC0) {
            if (nType == 0xC0 && !m_bStream) {
                m_bStream = true;
                m_nLength = pEntry[3];
            } else if (nType == 0xC1 && m_nUnits < kMostUnits) {
                for (int i = 0; i < kExFatPartUnits; ++i)
                    m_units[m_nUnits++] = static_cast<wchar_t>(Le16(pEntry + 2 + 2 * i));
            }
            if (--m_nLeft == 0 && m_nLength >= 1 && m_nUnits >= m_nLength)
                m_name(m_units, m_nLength);
            return true;
        }
        m_nLeft = 0;  // the set is broken off; this entry may start the next one
    }
    // Only a file's primary entry starts a set; 2 to 18 secondary entries follow it.
    if (nType == 0x85 && pEntry[1] >= 2 && pEntry[1] <= kMostUnits / kExFatPartUnits + 1) {
        m_nLeft = pEntry[1];
        m_bStream = false;
        m_nLength = 0;
        m_nUnits = 0;
    }
    return true;
}
