#include "copy/DiskDirectory.h"

#include <cstring>

namespace {

// A FAT32 folder holds at most 65,536 entries of 32 bytes; an exFAT root of the same number
// of files with long names takes more. Chains longer than this are not followed.
const ULONGLONG kMostRootBytes = 32ULL << 20;

DWORD Le16(const BYTE* p) { return p[0] | (p[1] << 8); }
DWORD Le32(const BYTE* p) { return Le16(p) | (Le16(p + 2) << 16); }

std::wstring Utf16Units(const BYTE* p, size_t nUnits) {
    std::wstring text;
    for (size_t i = 0; i < nUnits; ++i)
        text += static_cast<wchar_t>(Le16(p + 2 * i));
    return text;
}

BYTE ShortNameChecksum(const BYTE* pName) {
    BYTE nSum = 0;
    for (int i = 0; i < 11; ++i)
        nSum = static_cast<BYTE>(((nSum & 1) << 7) + (nSum >> 1) + pName[i]);
    return nSum;
}

// "NAME.EXT" of an 8.3 entry, in the case the entry's flags give.
std::wstring ShortName(const BYTE* pEntry) {
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
    wchar_t wide[13];
    const int nWide = ::MultiByteToWideChar(CP_OEMCP, 0, name, n, wide, 13);
    return std::wstring(wide, nWide > 0 ? static_cast<size_t>(nWide) : 0);
}

}  // namespace

CDiskDirectory::CDiskDirectory(const char* lpszDrive)
    : m_hOwned(::CreateFileA((std::string("\\\\.\\") + lpszDrive).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr)),
      m_hVolume(m_hOwned) {
    if (!m_hOwned.IsNull())
        ReadBootSector();
}

CDiskDirectory::CDiskDirectory(HANDLE hVolume) : m_hVolume(hVolume) { ReadBootSector(); }

bool CDiskDirectory::Read(ULONGLONG nOffset, void* pBuffer, DWORD nBytes) const {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(nOffset);
    DWORD nRead = 0;
    return ::SetFilePointerEx(m_hVolume, at, nullptr, FILE_BEGIN) &&
           ::ReadFile(m_hVolume, pBuffer, nBytes, &nRead, nullptr) && nRead == nBytes;
}

void CDiskDirectory::ReadBootSector() {
    BYTE boot[512];
    if (!Read(0, boot, sizeof(boot)) || boot[510] != 0x55 || boot[511] != 0xAA)
        return;
    if (std::memcmp(boot + 3, "EXFAT   ", 8) == 0) {
        const BYTE nSectorShift = boot[108], nClusterShift = boot[109];
        if (nSectorShift < 9 || nSectorShift > 12 || nClusterShift > 25 - nSectorShift)
            return;
        m_nSectorBytes = 1u << nSectorShift;
        m_nClusterBytes = m_nSectorBytes << nClusterShift;
        m_nFatOffset = static_cast<ULONGLONG>(Le32(boot + 80)) << nSectorShift;
        m_nDataOffset = static_cast<ULONGLONG>(Le32(boot + 88)) << nSectorShift;
        m_nClusterCount = Le32(boot + 92);
        m_nRootCluster = Le32(boot + 96);
        m_kind = Kind::kExFat;
        return;
    }
    const DWORD nSectorBytes = Le16(boot + 11), nSectorsPerCluster = boot[13];
    const DWORD nReserved = Le16(boot + 14), nFats = boot[16], nRootEntries = Le16(boot + 17);
    const DWORD nFatSectors = Le16(boot + 22) ? Le16(boot + 22) : Le32(boot + 36);
    const DWORD nSectors = Le16(boot + 19) ? Le16(boot + 19) : Le32(boot + 32);
    if ((nSectorBytes != 512 && nSectorBytes != 1024 && nSectorBytes != 2048 &&
         nSectorBytes != 4096) ||
        nSectorsPerCluster == 0 || (nSectorsPerCluster & (nSectorsPerCluster - 1)) ||
        nReserved == 0 || nFats == 0 || nFatSectors == 0)
        return;
    const DWORD nRootSectors = (nRootEntries * 32 + nSectorBytes - 1) / nSectorBytes;
    const ULONGLONG nDataSector =
        nReserved + static_cast<ULONGLONG>(nFats) * nFatSectors + nRootSectors;
    if (nSectors <= nDataSector)
        return;
    m_nSectorBytes = nSectorBytes;
    m_nClusterBytes = nSectorBytes * nSectorsPerCluster;
    m_nFatOffset = static_cast<ULONGLONG>(nReserved) * nSectorBytes;
    m_nDataOffset = nDataSector * nSectorBytes;
    m_nClusterCount = static_cast<DWORD>((nSectors - nDataSector) / nSectorsPerCluster);
    // The count of clusters alone tells the kinds apart.
    if (m_nClusterCount < 65525) {
        m_nRootOffset = m_nDataOffset - static_cast<ULONGLONG>(nRootSectors) * nSectorBytes;
        m_nRootEntries = nRootEntries;
        m_kind = Kind::kFat16;
    } else {
        m_nRootCluster = Le32(boot + 44);
        m_kind = Kind::kFat32;
    }
}

bool CDiskDirectory::Chain(DWORD nFirst, std::vector<DWORD>* pClusters) const {
    std::vector<BYTE> sector(m_nSectorBytes);
    ULONGLONG nSectorRead = ~0ULL;
    for (DWORD nCluster = nFirst;;) {
        if (nCluster < 2 || nCluster - 2 >= m_nClusterCount ||
            static_cast<ULONGLONG>(pClusters->size()) * m_nClusterBytes >= kMostRootBytes)
            return false;
        pClusters->push_back(nCluster);
        const ULONGLONG nAt = m_nFatOffset + static_cast<ULONGLONG>(nCluster) * 4;
        const ULONGLONG nSector = nAt / m_nSectorBytes;
        if (nSector != nSectorRead) {
            if (!Read(nSector * m_nSectorBytes, sector.data(), m_nSectorBytes))
                return false;
            nSectorRead = nSector;
        }
        DWORD nNext = Le32(sector.data() + nAt % m_nSectorBytes);
        if (m_kind == Kind::kFat32)
            nNext &= 0x0FFFFFFF;
        if (nNext >= (m_kind == Kind::kFat32 ? 0x0FFFFFF8u : 0xFFFFFFF8u))
            return true;
        nCluster = nNext;
    }
}

bool CDiskDirectory::ReadRootBytes(std::vector<BYTE>* pBytes) const {
    if (m_kind == Kind::kFat16) {
        pBytes->resize(static_cast<size_t>(m_nRootEntries) * 32);
        const DWORD nWhole = (static_cast<DWORD>(pBytes->size()) + m_nSectorBytes - 1) /
                             m_nSectorBytes * m_nSectorBytes;
        std::vector<BYTE> sectors(nWhole);
        if (!Read(m_nRootOffset, sectors.data(), nWhole))
            return false;
        std::memcpy(pBytes->data(), sectors.data(), pBytes->size());
        return true;
    }
    std::vector<DWORD> clusters;
    if (!Chain(m_nRootCluster, &clusters))
        return false;
    pBytes->resize(clusters.size() * m_nClusterBytes);
    for (size_t i = 0; i < clusters.size(); ++i) {
        const ULONGLONG nAt =
            m_nDataOffset + static_cast<ULONGLONG>(clusters[i] - 2) * m_nClusterBytes;
        if (!Read(nAt, pBytes->data() + i * m_nClusterBytes, m_nClusterBytes))
            return false;
    }
    return true;
}

bool CDiskDirectory::RootOrder(std::vector<std::wstring>* pNames) const {
    std::vector<BYTE> bytes;
    pNames->clear();
    if (!Valid() || !ReadRootBytes(&bytes))
        return false;
    if (m_kind == Kind::kExFat)
        ExFatNames(bytes, pNames);
    else
        FatNames(bytes, pNames);
    return true;
}

void CDiskDirectory::FatNames(const std::vector<BYTE>& bytes, std::vector<std::wstring>* pNames) {
    std::wstring longName;
    int nChecksum = -1;  // of the long name being gathered, -1 while there is none
    for (size_t at = 0; at + 32 <= bytes.size(); at += 32) {
        const BYTE* pEntry = bytes.data() + at;
        if (pEntry[0] == 0x00)
            break;
        if (pEntry[0] == 0xE5) {
            nChecksum = -1;
            continue;
        }
        if ((pEntry[11] & 0x3F) == 0x0F) {
            // Parts of a long name stand last part first, 13 units each.
            const std::wstring part =
                Utf16Units(pEntry + 1, 5) + Utf16Units(pEntry + 14, 6) + Utf16Units(pEntry + 28, 2);
            longName = ((pEntry[0] & 0x40) ? std::wstring() : longName);
            longName.insert(0, part);
            if (pEntry[0] & 0x40)
                nChecksum = pEntry[13];
            continue;
        }
        if (!(pEntry[11] & 0x08)) {  // not the volume's label
            std::wstring name = ShortName(pEntry);
            if (nChecksum == ShortNameChecksum(pEntry))
                name = longName.substr(0, longName.find(L'\0'));
            if (name != L"." && name != L"..")
                pNames->push_back(name);
        }
        nChecksum = -1;
        longName.clear();
    }
}

void CDiskDirectory::ExFatNames(const std::vector<BYTE>& bytes, std::vector<std::wstring>* pNames) {
    for (size_t at = 0; at + 32 <= bytes.size(); at += 32) {
        const BYTE* pEntry = bytes.data() + at;
        if (pEntry[0] == 0x00)
            break;
        if (pEntry[0] != 0x85)  // only a file's primary entry starts a name
            continue;
        // Its stream extension follows with the name's length, then the name in parts of 15.
        const size_t nSecondary = pEntry[1];
        if (nSecondary < 2 || at + 32 * (nSecondary + 1) > bytes.size() || pEntry[32] != 0xC0)
            continue;
        const size_t nLength = pEntry[32 + 3];
        std::wstring name;
        for (size_t i = 2; i <= nSecondary && pEntry[32 * i] == 0xC1; ++i)
            name += Utf16Units(pEntry + 32 * i + 2, 15);
        pNames->push_back(name.substr(0, nLength));
        at += 32 * nSecondary;
    }
}
