// The orders the list can be sorted in, as functions of its rows alone. Each gives the order of
// the rows it is handed: element i is the index of the row that comes i-th.
#pragma once

#include "tags/TrackTags.h"

#include <string>
#include <vector>

// Explorer's order of names: case ignored, digits compared as numbers (Track 2 before Track 10).
std::vector<int> ByName(const std::vector<std::wstring>& names);
// Full paths in the order a folder walk meets them: folder by folder in Explorer's order, a
// folder's subfolders before its own files.
std::vector<int> ByFolder(const std::vector<std::wstring>& paths);
// Album artist (else artist), album, disc, track, then the file name; files without any of these
// tags after the tagged ones, among themselves by name.
std::vector<int> ByTags(const std::vector<TrackTags>& tags, const std::vector<std::wstring>& names);

// The rows to sort: the selected ones when two or more are, else all of them (fewer than two:
// nothing to sort).
std::vector<int> RowsToSort(int nCount, const std::vector<int>& selected);
// The list's new order when the rows at places (ascending) take the order sorted gives them,
// within those places, the others staying where they are: element i is the row that comes to
// stand at i.
std::vector<int> PlacedOrder(int nCount, const std::vector<int>& places,
                             const std::vector<int>& sorted);
