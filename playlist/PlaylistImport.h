// What reading a playlist or taking a drop brings: the paths to append, in order, and a count
// of what was left out and why, so the user can be told in one message.
#pragma once

#include "framework/String.h"

#include <string>
#include <vector>

enum class SkipReason {
    kNotFound,          // no such file
    kNotAFile,          // a folder, a device or nothing at all
    kNotRepresentable,  // a name the ANSI code page cannot spell
    kInvalidText,       // NUL bytes, control characters, invalid UTF-8
    kTooLong,           // longer than a path can be
    kOverLimit,         // past the most one import takes
    kCount
};

// One import takes at most this many entries. A FAT root folder, where the copies go, holds
// far fewer files; the cap keeps a huge file from tying up the window for minutes.
const size_t kMaxImportEntries = 65535;

struct ImportResult {
    std::vector<CString> paths;  // the entries to append, in order
    unsigned skipped[int(SkipReason::kCount)] = {};
    std::vector<CString> unreadable;  // one line per file that could not be read

    void Skip(SkipReason reason) { ++skipped[int(reason)]; }
    bool Full() const { return paths.size() >= kMaxImportEntries; }
    unsigned SkippedCount() const;
};

// The message for the user, or an empty string when everything arrived as asked.
CString DescribeImport(const ImportResult& result);

// The ANSI code page's spelling of text; false when a character has none of its own and was
// replaced, which is still good enough to show.
bool WideToAnsi(const std::wstring& text, CString* pAnsi);
std::wstring AnsiToWide(LPCSTR text);

// Adds a full path whose file is known to exist, if the ANSI code page can spell it.
void AddExistingFile(const std::wstring& path, ImportResult* pResult);
// Adds a full path from an untrusted source: only a file that exists and is not a device.
void AddCheckedFile(const std::wstring& path, ImportResult* pResult);

// What the system says about an error code, without a trailing line end.
CString SystemErrorText(DWORD dwError);
