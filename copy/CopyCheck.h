// Reads copies back from the drive past the system's cache and compares each with the digest
// taken while its source was read for the copy: a card that stores less than it claims, or a
// failing card or cable, shows only in what the drive itself gives back.
#pragma once

#include "copy/ContentDigest.h"
#include "framework/String.h"

#include <functional>
#include <vector>

enum class CheckResult {
    kEqual,
    kDifferent,   // other bytes, or another length
    kUnreadable,  // missing, or the drive refused to give it back
    kStopped,     // told to stop before the whole copy was read
};

class CCopyCheck {
public:
    // Asked between two pieces of a copy; true stops its check.
    using StopWanted = std::function<bool()>;

    // For copies on drive ("E:"), read in whole sectors of the size the volume reports.
    explicit CCopyCheck(const CString& drive);
    CCopyCheck(const CCopyCheck&) = delete;
    CCopyCheck& operator=(const CCopyCheck&) = delete;

    // Reads the copy at path from the drive and compares it with what was written.
    CheckResult Check(const CString& path, const FileDigest& written,
                      const StopWanted& stopWanted = nullptr);

private:
    DWORD m_nPieceBytes;         // of each read: a whole number of sectors
    std::vector<char> m_buffer;  // holds a piece at a sector boundary, as reads past the cache need
    char* m_pPiece;
    CContentDigest m_digest;
};
