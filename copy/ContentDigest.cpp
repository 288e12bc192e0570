#include "copy/ContentDigest.h"

// XXH3 rather than the system's BCrypt hashes: it digests many gigabytes a second, so that
// reading a copy back costs hardly more than the read itself; a cryptographic hash would take
// longer than the read (bench/check.cpp measures both).
#define XXH_INLINE_ALL
#include <xxhash.h>

struct CContentDigest::State {
    XXH3_state_t xxh3;
};

CContentDigest::CContentDigest() : m_pState(new State) { Reset(); }

CContentDigest::~CContentDigest() = default;

void CContentDigest::Reset() {
    XXH3_64bits_reset(&m_pState->xxh3);
    m_nBytes = 0;
}

void CContentDigest::Add(const void* pBytes, size_t nBytes) {
    XXH3_64bits_update(&m_pState->xxh3, pBytes, nBytes);
    m_nBytes += nBytes;
}

FileDigest CContentDigest::Result() const {
    FileDigest digest;
    digest.nBytes = m_nBytes;
    digest.nHash = XXH3_64bits_digest(&m_pState->xxh3);
    return digest;
}
