#include "playlist/RowOrder.h"

#include <shlwapi.h>

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace {

bool ExplorerLess(const std::wstring& a, const std::wstring& b) {
    return ::StrCmpLogicalW(a.c_str(), b.c_str()) < 0;
}

std::vector<int> Unchanged(size_t nCount) {
    std::vector<int> order(nCount);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

// The order of the values by less; values that less takes for equal keep theirs.
template <class Less> std::vector<int> SortedBy(size_t nCount, Less less) {
    std::vector<int> order = Unchanged(nCount);
    std::stable_sort(order.begin(), order.end(), less);
    return order;
}

// Each value's rank in Explorer's order, equal ranks for values it takes for equal. Comparing
// two names costs the system a call per character: the distinct values are compared once here,
// and a sort compares their ranks.
std::vector<int> ExplorerRanks(const std::vector<const std::wstring*>& values) {
    std::unordered_map<std::wstring, int> distinctOf;
    std::vector<const std::wstring*> distinct;
    std::vector<int> which(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        const auto found = distinctOf.emplace(*values[i], static_cast<int>(distinct.size()));
        if (found.second)
            distinct.push_back(values[i]);
        which[i] = found.first->second;
    }
    const std::vector<int> order = SortedBy(
        distinct.size(), [&](int a, int b) { return ExplorerLess(*distinct[a], *distinct[b]); });
    std::vector<int> rankOfDistinct(distinct.size());
    for (size_t k = 0, nRank = 0; k < order.size(); ++k) {
        if (k > 0 && ExplorerLess(*distinct[order[k - 1]], *distinct[order[k]]))
            ++nRank;
        rankOfDistinct[order[k]] = static_cast<int>(nRank);
    }
    std::vector<int> ranks(values.size());
    for (size_t i = 0; i < values.size(); ++i)
        ranks[i] = rankOfDistinct[which[i]];
    return ranks;
}

std::vector<std::wstring> SplitPath(const std::wstring& path) {
    std::vector<std::wstring> parts;
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = path.find_first_of(L"\\/", nStart)) != std::wstring::npos;
         nStart = nEnd + 1)
        parts.push_back(path.substr(nStart, nEnd - nStart));
    parts.push_back(path.substr(nStart));
    return parts;
}

}  // namespace

std::vector<int> ByName(const std::vector<std::wstring>& names) {
    return SortedBy(names.size(), [&](int a, int b) { return ExplorerLess(names[a], names[b]); });
}

std::vector<int> ByFolder(const std::vector<std::wstring>& paths) {
    // Folders are few and named again and again: they are ranked; file names are compared
    // only within a folder.
    std::vector<std::vector<std::wstring>> parts;
    std::vector<const std::wstring*> folders;
    for (const std::wstring& path : paths)
        parts.push_back(SplitPath(path));
    for (const auto& pathParts : parts)
        for (size_t i = 0; i + 1 < pathParts.size(); ++i)
            folders.push_back(&pathParts[i]);
    const std::vector<int> ranks = ExplorerRanks(folders);
    std::vector<std::vector<int>> folderRanks(paths.size());
    for (size_t i = 0, nNext = 0; i < parts.size(); ++i)
        for (size_t j = 0; j + 1 < parts[i].size(); ++j)
            folderRanks[i].push_back(ranks[nNext++]);
    return SortedBy(paths.size(), [&](int a, int b) {
        const std::vector<int>& folderA = folderRanks[a];
        const std::vector<int>& folderB = folderRanks[b];
        for (size_t i = 0; i < folderA.size() || i < folderB.size(); ++i) {
            // Where one path goes on into a folder and the other names its file, the folder
            // is first.
            if (i == folderA.size() || i == folderB.size())
                return i < folderA.size();
            if (folderA[i] != folderB[i])
                return folderA[i] < folderB[i];
        }
        return ExplorerLess(parts[a].back(), parts[b].back());
    });
}

std::vector<int> ByTags(const std::vector<TrackTags>& tags,
                        const std::vector<std::wstring>& names) {
    std::vector<const std::wstring*> artists, albums;
    for (const TrackTags& row : tags) {
        artists.push_back(row.albumArtist.empty() ? &row.artist : &row.albumArtist);
        albums.push_back(&row.album);
    }
    const std::vector<int> artistRanks = ExplorerRanks(artists);
    const std::vector<int> albumRanks = ExplorerRanks(albums);
    auto isTagged = [&](int i) {
        return !artists[i]->empty() || !albums[i]->empty() || tags[i].nDisc > 0 ||
               tags[i].nTrack > 0;
    };
    return SortedBy(tags.size(), [&](int a, int b) {
        const bool bTaggedA = isTagged(a), bTaggedB = isTagged(b);
        if (bTaggedA != bTaggedB)
            return bTaggedA;
        if (bTaggedA) {
            if (artistRanks[a] != artistRanks[b])
                return artistRanks[a] < artistRanks[b];
            if (albumRanks[a] != albumRanks[b])
                return albumRanks[a] < albumRanks[b];
            if (tags[a].nDisc != tags[b].nDisc)
                return tags[a].nDisc < tags[b].nDisc;
            if (tags[a].nTrack != tags[b].nTrack)
                return tags[a].nTrack < tags[b].nTrack;
        }
        return ExplorerLess(names[a], names[b]);
    });
}

std::vector<int> RowsToSort(int nCount, const std::vector<int>& selected) {
    return selected.size() >= 2 ? selected
           : nCount >= 2        ? Unchanged(static_cast<size_t>(nCount))
                                : std::vector<int>();
}

std::vector<int> PlacedOrder(int nCount, const std::vector<int>& places,
                             const std::vector<int>& sorted) {
    std::vector<int> order = Unchanged(static_cast<size_t>(nCount));
    for (size_t i = 0; i < places.size(); ++i)
        order[static_cast<size_t>(places[i])] = places[static_cast<size_t>(sorted[i])];
    return order;
}
