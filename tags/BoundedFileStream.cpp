#include "tags/BoundedFileStream.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {
// TagLib reads a kilobyte at a time while it searches; each read of the file costs a call to
// the system.
const unsigned long kReadAhead = 16 * 1024;
}  // namespace

CBoundedFileStream::CBoundedFileStream(const std::wstring& path, unsigned long nBytes,
                                       unsigned long nReads)
    : m_path(path), m_nBudget(nBytes), m_nReadsLeft(nReads) {
    m_hFile.Attach(::CreateFileW(path.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!m_hFile.IsNull() && (!::GetFileSizeEx(m_hFile, &size) || size.QuadPart >= LONG_MAX))
        m_hFile.Close();
    else if (!m_hFile.IsNull())
        m_nLength = static_cast<long>(size.QuadPart);
}

void CBoundedFileStream::seek(long offset, Position p) {
    long long nTarget = offset;
    if (p == Current)
        nTarget += m_nPosition;
    else if (p == End)
        nTarget += m_nLength;
    m_nPosition = static_cast<long>(std::clamp<long long>(nTarget, 0, m_nLength));
}

TagLib::ByteVector CBoundedFileStream::readBlock(unsigned long length) {
    if (m_nReadsLeft == 0)
        return TagLib::ByteVector();
    --m_nReadsLeft;
    // Never more than the file holds and the budget allows: a damaged tag may claim any size.
    length = std::min<unsigned long>(
        {length, static_cast<unsigned long>(m_nLength - m_nPosition), m_nBudget + kReadAhead});
    TagLib::ByteVector block(static_cast<unsigned int>(length), '\0');
    unsigned long nDone = 0;
    while (nDone < length) {
        const long nAt = m_nPosition + static_cast<long>(nDone);
        const long nAheadEnd = m_nAheadAt + static_cast<long>(m_ahead.size());
        if (nAt >= m_nAheadAt && nAt < nAheadEnd) {
            const unsigned long nCopy = std::min<unsigned long>(
                length - nDone, static_cast<unsigned long>(nAheadEnd - nAt));
            std::memcpy(block.data() + nDone, m_ahead.data() + (nAt - m_nAheadAt), nCopy);
            nDone += nCopy;
            continue;
        }
        unsigned long nRead = 0;
        if (length - nDone >= kReadAhead) {
            // A large block goes straight to its place.
            if (!ReadAt(nAt, block.data() + nDone, length - nDone, &nRead) || nRead == 0)
                break;
            nDone += nRead;
            continue;
        }
        m_ahead.resize(kReadAhead);
        if (!ReadAt(nAt, m_ahead.data(), kReadAhead, &nRead) || nRead == 0) {
            m_ahead.clear();
            break;
        }
        m_ahead.resize(nRead);
        m_nAheadAt = nAt;
    }
    block.resize(static_cast<unsigned int>(nDone));
    m_nPosition += static_cast<long>(nDone);
    return block;
}

bool CBoundedFileStream::ReadAt(long nPosition, char* pBuffer, unsigned long length,
                                unsigned long* pRead) {
    *pRead = 0;
    length = std::min(length, m_nBudget);
    if (length == 0)
        return false;
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(nPosition);
    DWORD nRead = 0;
    if (!::ReadFile(m_hFile, pBuffer, static_cast<DWORD>(length), &nRead, &at))
        return false;
    m_nBudget -= nRead;
    *pRead = nRead;
    return true;
}
