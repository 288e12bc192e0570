// Files dropped from the shell: what each dropped item brings to the playlist.
#pragma once

#include "playlist/PlaylistImport.h"

#include <shellapi.h>

#include <string>
#include <vector>

// The full paths a drop holds, in the drop's order; wide, so that no name is mangled.
std::vector<std::wstring> DroppedPaths(HDROP hDrop);

// Appends to pResult, in order, each dropped file as it is, each folder's media files in name
// order (its subfolders' among them, by their names), and each playlist file's entries.
void ImportDroppedPaths(const std::vector<std::wstring>& dropped, ImportResult* pResult);
