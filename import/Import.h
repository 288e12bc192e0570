// The one way paths become playlist rows: files chosen in the open dialog, files, folders and
// playlists dropped from the shell, and playlist files opened. Nothing here has a window; the
// caller shows the question and the message.
#pragma once

#include "import/ImportResult.h"
#include "import/PlaylistText.h"

#include <functional>
#include <string>
#include <vector>

enum class PathSource {
    kChosen,    // files chosen in the open dialog: each a row as it is
    kDropped,   // files as they are, the media files of folders and playlists
    kPlaylist,  // playlist files, whatever their names
};

// What reading takes from the program around it.
struct ImportContext {
    // Asks the user a question that Yes or No answers; true for Yes. Without it, No.
    std::function<bool(const CString& question)> ask;
    // How a playlist without a byte-order mark or a name of its encoding is read when it is
    // not UTF-8 (a .m3u8 always is).
    UINT nLegacyCodePage = 0;  // 0: the user's ANSI code page
    // Looks up a playlist's entry, as GetFileAttributesW does, with its error in GetLastError.
    DWORD(WINAPI* pfnGetAttributes)(LPCWSTR lpszPath) = ::GetFileAttributesW;
};

// Playlists within playlists are read to this depth, then counted as nested too deeply.
const int kMaxPlaylistDepth = 8;

// The rows the paths bring, in order, and what was left out and why. A playlist's entries on
// other computers are looked up only once the user has said Yes to them, in one question per
// playlist, and a computer that did not answer once is not asked again.
ImportResult ImportPaths(const std::vector<std::wstring>& paths, PathSource source,
                         const ImportContext& context);
