#include "copy/StagedCopy.h"

#include <windows.h>

namespace {
// The copy is made in a folder of its own rather than beside the copies: looking up a name
// that does not exist yet costs some file systems a scan of the whole folder, and the root
// fills with thousands of copies.
const char kStagingFolder[] = "~ovelo.tmp";
const char kStagedName[] = "copy.tmp";
// Beside the copies, when the staging folder cannot be made.
const char kFallbackName[] = "~ovelo-copy.tmp";
}  // namespace

CStagedCopy::~CStagedCopy() { RemoveStaging(); }

BOOL CStagedCopy::Copy(LPCSTR lpszSource, const CString& folder, const CString& name) {
    const CString temporary = TemporaryPath(folder);
    if (::CopyFileA(lpszSource, temporary, FALSE) &&
        ::MoveFileExA(temporary, folder + "\\" + name, MOVEFILE_REPLACE_EXISTING))
        return TRUE;
    // A partial copy would take the space that later files need. It may have kept the
    // source's read-only attribute, which blocks its removal and every later copy.
    if (!::DeleteFileA(temporary) && ::GetLastError() == ERROR_ACCESS_DENIED) {
        ::SetFileAttributesA(temporary, FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(temporary);
    }
    // The device may have gone, and may come back: the next copy then makes the folder anew.
    if (!m_staging.IsEmpty() && ::GetFileAttributesA(m_staging) == INVALID_FILE_ATTRIBUTES)
        m_staging.Empty();
    return FALSE;
}

CString CStagedCopy::TemporaryPath(const CString& folder) {
    const CString staging = folder + "\\" + kStagingFolder;
    if (staging != m_staging) {
        RemoveStaging();
        // One left behind by a run that never ended is used and removed like a new one.
        const DWORD dwAttributes = ::GetFileAttributesA(staging);
        if (::CreateDirectoryA(staging, nullptr) ||
            (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)))
            m_staging = staging;
    }
    return m_staging.IsEmpty() ? folder + "\\" + kFallbackName : m_staging + "\\" + kStagedName;
}

void CStagedCopy::RemoveStaging() {
    if (m_staging.IsEmpty())
        return;
    ::RemoveDirectoryA(m_staging);
    m_staging.Empty();
}
