// What an import brings: the paths to append as rows, in order, and a count of what was left
// out and why, so the user can be told in one message.
#pragma once

#include "framework/String.h"

#include <string>
#include <vector>

enum class SkipReason {
    kNotFound,          // no such file
    kNotAFile,          // a folder, a device or nothing at all
    kNotMediaFile,      // a playlist's entry that names no media file: a program, a shortcut
    kNotAPlaylist,      // a file named as a playlist that holds no playlist of a known kind
    kNotRepresentable,  // a name the ANSI code page cannot spell
    kInvalidText,       // NUL bytes, control characters, invalid UTF-8 or UTF-16
    kTooLong,           // longer than a path can be
    kWebAddress,        // http:, rtsp: and the like: nothing to copy
    kOtherComputer,     // the user chose not to look on other computers
    kUnreachable,       // a computer that did not answer
    kPlaylistLoop,      // a playlist that names itself, directly or through others
    kNestedTooDeep,     // playlists inside playlists past the depth limit
    kOverLimit,         // past the most one import takes
    kCount
};

// One import takes at most this many entries, and reads at most this many from all the
// playlists it opens together. A FAT root folder, where the copies go, holds far fewer files;
// the cap keeps a huge file, or playlists that name each other many times, from tying up the
// window for minutes.
const size_t kMaxImportEntries = 65535;

struct ImportResult {
    std::vector<CString> paths;  // the entries to append, in order
    unsigned skipped[int(SkipReason::kCount)] = {};
    std::vector<CString> unreadable;  // one line per file that could not be read

    void Skip(SkipReason reason, unsigned nCount = 1) { skipped[int(reason)] += nCount; }
    bool Full() const { return paths.size() >= kMaxImportEntries; }
    unsigned SkippedCount() const;
};

// The message for the user, or an empty string when everything arrived as asked.
CString DescribeImport(const ImportResult& result);

// Adds a full path whose file is known to exist, if the ANSI code page can spell it.
void AddExistingFile(const std::wstring& path, ImportResult* pResult);
// Whether a path names a device (CON, COM1, nul.mp3, \\.\...) rather than a file: opening or
// copying one would read a console, a port or a raw volume.
bool IsDevicePath(const std::wstring& path);
