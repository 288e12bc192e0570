#include "copy/StagedCopy.h"

#include "copy/DriveFiles.h"
#include "framework/KernelHandle.h"

#include <algorithm>
#include <vector>

// The copy is made in a folder of its own rather than beside the copies: looking up a name
// that does not exist yet costs some file systems a scan of the whole folder, and the root
// fills with thousands of copies.
const char kStagingFolder[] = "~ovelo.tmp";

namespace {
const char kStagedName[] = "copy.tmp";
// Beside the copies, when the staging folder cannot be made or written.
const char kFallbackName[] = "~ovelo-copy.tmp";
// As CopyFile's own: Wine writes a piece of 64 KiB several times faster per byte than one of
// 1 MiB, and Windows' cache takes it as well; a stop is asked for after each.
const DWORD kPieceBytes = 64 << 10;

enum class Piecewise { kCopied, kFailed, kTargetRefused, kStopped };

FILETIME FileTimeOf(const LARGE_INTEGER& time) {
    return {time.LowPart, static_cast<DWORD>(time.HighPart)};
}

// A source's size, times and attributes, what a copy takes from it besides its bytes. Not by
// GetFileInformationByHandle: the volume's serial number it also reads costs Wine a round trip
// to its mount manager, about as long as copying a file of 1 MiB.
bool ReadSourceFacts(HANDLE hSource, BY_HANDLE_FILE_INFORMATION* pInfo) {
    FILE_BASIC_INFO basic;
    LARGE_INTEGER size;
    if (!::GetFileInformationByHandleEx(hSource, FileBasicInfo, &basic, sizeof(basic)) ||
        !::GetFileSizeEx(hSource, &size))
        return false;
    *pInfo = BY_HANDLE_FILE_INFORMATION();
    pInfo->dwFileAttributes = basic.FileAttributes;
    pInfo->ftCreationTime = FileTimeOf(basic.CreationTime);
    pInfo->ftLastAccessTime = FileTimeOf(basic.LastAccessTime);
    pInfo->ftLastWriteTime = FileTimeOf(basic.LastWriteTime);
    pInfo->nFileSizeHigh = static_cast<DWORD>(size.HighPart);
    pInfo->nFileSizeLow = size.LowPart;
    return true;
}

// Copies source's bytes to target a piece at a time, adding each to *pDigest, and asking
// progress between two: a copy must stop within a long file, and CopyFileEx does not call its
// progress routine everywhere (Wine's never does). Only files on a disk are copied: a device
// named as a file has no end. What the source is besides its bytes goes to *pSource.
Piecewise CopyInPieces(LPCSTR lpszSource, LPCSTR lpszTarget, ULONGLONG nMaxBytes,
                       const CStagedCopy::Progress& progress, CContentDigest* pDigest,
                       BY_HANDLE_FILE_INFORMATION* pSource) {
    const CHandle hSource(::CreateFileA(lpszSource, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    BY_HANDLE_FILE_INFORMATION& info = *pSource;
    if (hSource.IsNull() || ::GetFileType(hSource) != FILE_TYPE_DISK ||
        !ReadSourceFacts(hSource, &info))
        return Piecewise::kFailed;
    const ULONGLONG nTotal = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (nTotal > nMaxBytes)
        return Piecewise::kFailed;
    const CHandle hTarget(::CreateFileA(lpszTarget, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                        nullptr));
    if (hTarget.IsNull())
        return Piecewise::kTargetRefused;
    // A small file takes one piece of its own size, and one read more that finds its end.
    const DWORD nPiece = static_cast<DWORD>(std::min<ULONGLONG>(kPieceBytes, nTotal + 1));
    std::vector<char> piece(nPiece);
    pDigest->Reset();
    ULONGLONG nCopied = 0;
    for (DWORD nRead = 0;; nCopied += nRead) {
        if (!::ReadFile(hSource, piece.data(), nPiece, &nRead, nullptr))
            return Piecewise::kFailed;
        if (nRead == 0)
            break;
        DWORD nWritten = 0;
        if (nCopied + nRead > nMaxBytes ||
            !::WriteFile(hTarget, piece.data(), nRead, &nWritten, nullptr) || nWritten != nRead)
            return Piecewise::kFailed;
        pDigest->Add(piece.data(), nRead);
        // Between two pieces: a file that is whole is not thrown away.
        if (nCopied + nRead < nTotal && progress && !progress(nCopied + nRead, nTotal))
            return Piecewise::kStopped;
    }
    return Piecewise::kCopied;
}

// Gives a copy its source's times and attributes, as CopyFile does; once the copy has its name,
// since some drivers date a file anew when they rename it. Both times are given: some drivers
// set neither when one is left as it is. A scanner or an indexer may have opened the new copy
// already: the open shares everything with it.
void TakeSourceFacts(LPCSTR lpszCopy, const BY_HANDLE_FILE_INFORMATION& source) {
    SetFileDates(lpszCopy, source.ftLastAccessTime, source.ftLastWriteTime);
    const DWORD dwKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                         FILE_ATTRIBUTE_ARCHIVE;
    if (source.dwFileAttributes & dwKept)
        ::SetFileAttributesA(lpszCopy, source.dwFileAttributes & dwKept);
}

// Whether a rename into folder failed because the folder has no room for another name. Some
// drivers say so only as access denied, which a read-only file in the way says as well: a
// new name is tried then.
bool IsFolderFull(const CString& folder, DWORD dwError) {
    if (dwError == ERROR_DISK_FULL || dwError == ERROR_HANDLE_DISK_FULL ||
        dwError == ERROR_CANNOT_MAKE)
        return true;
    if (dwError != ERROR_ACCESS_DENIED)
        return false;
    const CString probe = JoinPath(folder, "~ovelo.new");
    const CHandle hProbe(::CreateFileA(probe, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return hProbe.IsNull() && ::GetLastError() != ERROR_FILE_EXISTS;
}
}  // namespace

CStagedCopy::~CStagedCopy() { RemoveStaging(); }

CopyOutcome CStagedCopy::Copy(LPCSTR lpszSource, const CString& folder, const CString& name,
                              ULONGLONG nMaxBytes, Existing existing, const Progress& progress) {
    const CString path = JoinPath(folder, name);
    if (existing == Existing::kKeep && ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return CopyOutcome::kFailed;
    CString temporary = TemporaryPath(folder);
    BY_HANDLE_FILE_INFORMATION source;
    Piecewise result = CopyInPieces(lpszSource, temporary, nMaxBytes, progress, &m_digest, &source);
    // A staging folder that takes no file is given up for a place beside the copies.
    if (result == Piecewise::kTargetRefused && !m_staging.IsEmpty()) {
        RemoveFile(temporary);
        m_bStagingRefused = true;
        RemoveStaging();
        temporary = TemporaryPath(folder);
        result = CopyInPieces(lpszSource, temporary, nMaxBytes, progress, &m_digest, &source);
    }
    if (result == Piecewise::kCopied) {
        // A replacing move refuses a read-only file, and a copy keeps its source's attribute.
        if (existing == Existing::kReplaceOwn)
            ClearReadOnly(path);
        if (::MoveFileExA(temporary, path,
                          existing == Existing::kKeep ? 0 : MOVEFILE_REPLACE_EXISTING)) {
            TakeSourceFacts(path, source);
            return CopyOutcome::kCopied;
        }
        const DWORD dwError = ::GetLastError();
        RemoveFile(temporary);
        return IsFolderFull(folder, dwError) ? CopyOutcome::kFolderFull : CopyOutcome::kFailed;
    }
    // A partial copy would take the space that later files need.
    RemoveFile(temporary);
    // The device may have gone, and may come back: the next copy then makes the folder anew.
    if (!m_staging.IsEmpty() && ::GetFileAttributesA(m_staging) == INVALID_FILE_ATTRIBUTES)
        m_staging.Empty();
    return result == Piecewise::kStopped ? CopyOutcome::kStopped : CopyOutcome::kFailed;
}

CString CStagedCopy::TemporaryPath(const CString& folder) {
    const CString staging = JoinPath(folder, kStagingFolder);
    if (staging != m_staging && !m_bStagingRefused) {
        RemoveStaging();
        // One left behind by a run that never ended is used and removed like a new one, with
        // what it holds: a read-only attribute, or the partial copy of a run that was cut off.
        const DWORD dwAttributes = ::GetFileAttributesA(staging);
        if (::CreateDirectoryA(staging, nullptr) || (dwAttributes != INVALID_FILE_ATTRIBUTES &&
                                                     (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))) {
            ::SetFileAttributesA(staging, FILE_ATTRIBUTE_DIRECTORY);
            RemoveFile(JoinPath(staging, kStagedName));
            m_staging = staging;
        }
    }
    return JoinPath(m_staging.IsEmpty() ? folder : m_staging,
                    m_staging.IsEmpty() ? kFallbackName : kStagedName);
}

void CStagedCopy::RemoveStaging() {
    if (m_staging.IsEmpty())
        return;
    ::RemoveDirectoryA(m_staging);
    m_staging.Empty();
}
