// A digest of a file's bytes, taken piece by piece as they pass: while a copy reads its source,
// and again when the copy is read back from the drive. It finds what a failing card or cable
// changed, not what someone made to look alike.
#pragma once

#include <windows.h>

#include <memory>

struct FileDigest {
    ULONGLONG nBytes = 0;
    ULONGLONG nHash = 0;

    bool operator==(const FileDigest& other) const {
        return nBytes == other.nBytes && nHash == other.nHash;
    }
    bool operator!=(const FileDigest& other) const { return !(*this == other); }
};

class CContentDigest {
public:
    CContentDigest();
    ~CContentDigest();
    CContentDigest(const CContentDigest&) = delete;
    CContentDigest& operator=(const CContentDigest&) = delete;

    // Starts again from no bytes.
    void Reset();
    void Add(const void* pBytes, size_t nBytes);
    ULONGLONG BytesAdded() const { return m_nBytes; }
    // Of the bytes added since the last Reset.
    FileDigest Result() const;

private:
    struct State;  // the hash's own, kept out of this header
    std::unique_ptr<State> m_pState;
    ULONGLONG m_nBytes = 0;
};
