// Copies files into a device folder through a staging folder on the same device: a copy
// that fails leaves nothing under its final name, and the file that had the name before
// is kept. Only a whole copy is renamed into place.
#pragma once

#include "framework/String.h"

class CStagedCopy {
public:
    CStagedCopy() = default;
    // Removes the staging folder.
    ~CStagedCopy();
    CStagedCopy(const CStagedCopy&) = delete;
    CStagedCopy& operator=(const CStagedCopy&) = delete;

    // Copies lpszSource to folder\name, replacing a file of that name. TRUE only when the
    // whole file arrived; otherwise the device holds what it held before.
    BOOL Copy(LPCSTR lpszSource, const CString& folder, const CString& name);

private:
    CString m_staging;  // the staging folder made on the device, empty while there is none

    // Where the copy is made before it is renamed into place.
    CString TemporaryPath(const CString& folder);
    void RemoveStaging();
};
