#include "copy/DiskDirectory.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

const ULONGLONG kFat32RootBytes = 65536 * kDirectoryEntryBytes;
const ULONGLONG kExFatRootBytes = 256ULL << 20;
// Reads are of this size at most: clusters that follow each other on the disk are read
// together, and a cluster larger than this in pieces.
const DWORD kPieceBytes = 64 << 10;

DWORD Le16(const BYTE* p) { return p[0] | (p[1] << 8); }
DWORD Le32(const BYTE* p) { return Le16(p) | (Le16(p + 2) << 16); }

// Hands names the entries one by one; false once the folder has ended.
template <class Names> bool AddEach(Names* pNames, const BYTE* pEntries, size_t nEntries) {
    for (size_t i = 0; i < nEntries; ++i)
        if (!pNames->Add(pEntries + i * kDirectoryEntryBytes))
            return false;
    return true;
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
    if (std::memcmp(boot + 3, "EXFAT   ", 8) == 0)
        ReadExFatBootSector(boot);
    else
        ReadFatBootSector(boot);
}

void CDiskDirectory::ReadExFatBootSector(const BYTE* pBoot) {
    const BYTE nSectorShift = pBoot[108], nClusterShift = pBoot[109];
    if (nSectorShift < 9 || nSectorShift > 12 || nClusterShift > 25 - nSectorShift)
        return;
    m_nSectorBytes = 1u << nSectorShift;
    m_nClusterBytes = m_nSectorBytes << nClusterShift;
    m_nFatOffset = static_cast<ULONGLONG>(Le32(pBoot + 80)) << nSectorShift;
    m_nDataOffset = static_cast<ULONGLONG>(Le32(pBoot + 88)) << nSectorShift;
    m_nClusterCount = Le32(pBoot + 92);
    m_nRootCluster = Le32(pBoot + 96);
    if (m_nFatOffset > 0 && m_nDataOffset > 0)
        m_kind = Kind::kExFat;
}

void CDiskDirectory::ReadFatBootSector(const BYTE* pBoot) {
    const DWORD nSectorBytes = Le16(pBoot + 11), nSectorsPerCluster = pBoot[13];
    const DWORD nReserved = Le16(pBoot + 14), nFats = pBoot[16], nRootEntries = Le16(pBoot + 17);
    // As Windows decides it: the 16-bit size of a FAT is 0 on FAT32 alone, whatever the count
    // of clusters (a small FAT32 volume has fewer than a FAT16 one may have).
    const bool bFat32 = Le16(pBoot + 22) == 0;
    const DWORD nFatSectors = bFat32 ? Le32(pBoot + 36) : Le16(pBoot + 22);
    const DWORD nSectors = Le16(pBoot + 19) ? Le16(pBoot + 19) : Le32(pBoot + 32);
    if ((nSectorBytes != 512 && nSectorBytes != 1024 && nSectorBytes != 2048 &&
         nSectorBytes != 4096) ||
        nSectorsPerCluster == 0 || (nSectorsPerCluster & (nSectorsPerCluster - 1)) ||
        nReserved == 0 || nFats == 0 || nFatSectors == 0 || (!bFat32 && nRootEntries == 0))
        return;
    const DWORD nRootSectors = bFat32 ? 0 : (nRootEntries * 32 + nSectorBytes - 1) / nSectorBytes;
    const ULONGLONG nDataSector =
        nReserved + static_cast<ULONGLONG>(nFats) * nFatSectors + nRootSectors;
    if (nSectors <= nDataSector)
        return;
    m_nSectorBytes = nSectorBytes;
    m_nClusterBytes = nSectorBytes * nSectorsPerCluster;
    m_nFatOffset = static_cast<ULONGLONG>(nReserved) * nSectorBytes;
    m_nDataOffset = nDataSector * nSectorBytes;
    m_nClusterCount = static_cast<DWORD>((nSectors - nDataSector) / nSectorsPerCluster);
    if (bFat32) {
        m_nRootCluster = Le32(pBoot + 44);
        m_kind = Kind::kFat32;
    } else {
        m_nRootOffset = m_nDataOffset - static_cast<ULONGLONG>(nRootSectors) * nSectorBytes;
        m_nRootEntries = nRootEntries;
        m_kind = Kind::kFat16;
    }
}

bool CDiskDirectory::NextCluster(DWORD nCluster, std::vector<BYTE>* pSector, ULONGLONG* pSectorAt,
                                 DWORD* pNext, bool* pLast) const {
    const ULONGLONG nAt = m_nFatOffset + static_cast<ULONGLONG>(nCluster) * 4;
    const ULONGLONG nSectorAt = nAt / m_nSectorBytes * m_nSectorBytes;
    if (nSectorAt != *pSectorAt) {
        pSector->resize(m_nSectorBytes);
        if (!Read(nSectorAt, pSector->data(), m_nSectorBytes))
            return false;
        *pSectorAt = nSectorAt;
    }
    DWORD nNext = Le32(pSector->data() + (nAt - nSectorAt));
    if (m_kind == Kind::kFat32)
        nNext &= 0x0FFFFFFF;
    *pLast = nNext >= (m_kind == Kind::kFat32 ? 0x0FFFFFF8u : 0xFFFFFFF8u);
    *pNext = nNext;
    return *pLast || IsCluster(nNext);
}

bool CDiskDirectory::ReadEntries(ULONGLONG nOffset, ULONGLONG nBytes, const EntryReader& entry,
                                 std::vector<BYTE>* pPiece, bool* pEnded) const {
    for (ULONGLONG nDone = 0; nDone < nBytes && !*pEnded;) {
        const DWORD nPiece = static_cast<DWORD>(std::min<ULONGLONG>(kPieceBytes, nBytes - nDone));
        // A volume is read in whole sectors.
        const DWORD nWhole = (nPiece + m_nSectorBytes - 1) / m_nSectorBytes * m_nSectorBytes;
        pPiece->resize(std::max<size_t>(pPiece->size(), nWhole));
        if (!Read(nOffset + nDone, pPiece->data(), nWhole))
            return false;
        *pEnded = !entry(pPiece->data(), nPiece / kDirectoryEntryBytes);
        nDone += nPiece;
    }
    return true;
}

bool CDiskDirectory::ReadRoot(const EntryReader& entry) const {
    std::vector<BYTE> piece, fatSector;
    bool bEnded = false;
    if (m_kind == Kind::kFat16)
        return ReadEntries(m_nRootOffset, m_nRootEntries * kDirectoryEntryBytes, entry, &piece,
                           &bEnded);
    const ULONGLONG nMostBytes = m_kind == Kind::kFat32 ? kFat32RootBytes : kExFatRootBytes;
    ULONGLONG nFatSectorAt = ~0ULL, nRead = 0;
    for (DWORD nCluster = m_nRootCluster; IsCluster(nCluster);) {
        // The clusters of a run that follow each other on the disk.
        DWORD nRun = 0, nNext = 0;
        bool bLast = false;
        do {
            if (nRead + static_cast<ULONGLONG>(nRun + 1) * m_nClusterBytes > nMostBytes ||
                !NextCluster(nCluster + nRun, &fatSector, &nFatSectorAt, &nNext, &bLast))
                return false;
            ++nRun;
        } while (!bLast && nNext == nCluster + nRun &&
                 static_cast<ULONGLONG>(nRun) * m_nClusterBytes < kPieceBytes);
        const ULONGLONG nBytes = static_cast<ULONGLONG>(nRun) * m_nClusterBytes;
        if (!ReadEntries(m_nDataOffset + static_cast<ULONGLONG>(nCluster - 2) * m_nClusterBytes,
                         nBytes, entry, &piece, &bEnded))
            return false;
        if (bLast || bEnded)
            return true;
        nRead += nBytes;
        nCluster = nNext;
    }
    return false;
}

bool CDiskDirectory::RootOrder(const NameReader& name) const {
    if (m_kind == Kind::kExFat) {
        CExFatEntryNames names(name);
        return ReadRoot([&names](const BYTE* p, size_t n) { return AddEach(&names, p, n); });
    }
    CFatEntryNames names(name);
    return Valid() && ReadRoot([&names](const BYTE* p, size_t n) { return AddEach(&names, p, n); });
}
