#include "copy/CopyCheck.h"

#include "framework/KernelHandle.h"

namespace {
const DWORD kPieceBytes = 1 << 20;
// Where the volume does not say, or says something no disk has.
const DWORD kLargestSector = 4096;

DWORD SectorBytesOf(const CString& drive) {
    DWORD nSectorsPerCluster = 0, nSectorBytes = 0, nFreeClusters = 0, nClusters = 0;
    if (!::GetDiskFreeSpaceA(DriveRoot(drive), &nSectorsPerCluster, &nSectorBytes, &nFreeClusters,
                             &nClusters) ||
        nSectorBytes == 0 || (nSectorBytes & (nSectorBytes - 1)) != 0 || nSectorBytes > kPieceBytes)
        return kLargestSector;
    return nSectorBytes;
}
}  // namespace

CCopyCheck::CCopyCheck(const CString& drive) : m_nPieceBytes(kPieceBytes) {
    const DWORD nSectorBytes = SectorBytesOf(drive);
    m_buffer.resize(m_nPieceBytes + nSectorBytes);
    const UINT_PTR nAddress = reinterpret_cast<UINT_PTR>(m_buffer.data());
    m_pPiece = m_buffer.data() + (nSectorBytes - nAddress % nSectorBytes) % nSectorBytes;
}

CheckResult CCopyCheck::Check(const CString& path, const FileDigest& written,
                              const StopWanted& stopWanted) {
    // Without the system's cache: what the copy wrote may still be there, and the drive is
    // what is checked.
    const CHandle hCopy(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (hCopy.IsNull())
        return CheckResult::kUnreadable;
    m_digest.Reset();
    for (;;) {
        DWORD nRead = 0;
        if (!::ReadFile(hCopy, m_pPiece, m_nPieceBytes, &nRead, nullptr))
            return CheckResult::kUnreadable;
        m_digest.Add(m_pPiece, nRead);
        // A read past the cache comes short only at the end of the file.
        if (nRead < m_nPieceBytes)
            break;
        if (m_digest.BytesAdded() > written.nBytes)
            return CheckResult::kDifferent;
        if (stopWanted && stopWanted())
            return CheckResult::kStopped;
    }
    return m_digest.Result() == written ? CheckResult::kEqual : CheckResult::kDifferent;
}
