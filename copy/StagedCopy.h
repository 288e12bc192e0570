// Copies files into a device folder through a staging folder on the same device: a copy
// that fails leaves nothing under its final name, and the file that had the name before
// is kept. Only a whole copy is renamed into place.
#pragma once

#include "copy/ContentDigest.h"
#include "framework/String.h"

#include <functional>

// The folder, in the device folder, where copies are made before they are renamed into place.
extern const char kStagingFolder[];

enum class CopyOutcome {
    kCopied,
    kFailed,
    kStopped,     // told to stop while the file was copied
    kFolderFull,  // the whole file was copied, but the device folder takes no further name
};

// What a copy does to a file that already has its name.
enum class Existing {
    kKeep,        // keeps it, and fails: an update plans its copies onto free names
    kReplace,     // replaces it, as Copy Files replaces a file of the same name
    kReplaceOwn,  // replaces it, a read-only one too: it is one of the program's own copies
};

class CStagedCopy {
public:
    // Told the bytes copied of the current file now and then; false stops its copy.
    using Progress = std::function<bool(ULONGLONG nCopied, ULONGLONG nTotal)>;

    CStagedCopy() = default;
    // Removes the staging folder.
    ~CStagedCopy();
    CStagedCopy(const CStagedCopy&) = delete;
    CStagedCopy& operator=(const CStagedCopy&) = delete;

    // Copies lpszSource to folder\name, doing to a file of that name what existing says.
    // kCopied only when the whole file arrived; otherwise the device holds what it held before.
    // A source that grows past nMaxBytes fails.
    CopyOutcome Copy(LPCSTR lpszSource, const CString& folder, const CString& name,
                     ULONGLONG nMaxBytes, Existing existing, const Progress& progress = nullptr);
    // The digest of the bytes the last kCopied copy read from its source and wrote, for a
    // check of what the drive gives back.
    FileDigest Digest() const { return m_digest.Result(); }

private:
    CContentDigest m_digest;  // of the file being copied
    CString m_staging;        // the staging folder made on the device, empty while there is none
    bool m_bStagingRefused = false;  // it took no file: copies are made beside the copies

    // Where the copy is made before it is renamed into place.
    CString TemporaryPath(const CString& folder);
    void RemoveStaging();
};
