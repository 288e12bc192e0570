// Tags read earlier, kept while their files stay as they were: a sort by tags and a save that
// follows it read each file once.
#pragma once

#include "tags/TrackTags.h"

#include <windows.h>

#include <unordered_map>

class CTagCache {
public:
    // The file's tags, read again when its size or time of writing changed since they were.
    const TrackTags& Tags(const std::wstring& path);
    // Forgets the files not asked about since the last call, so that the cache holds no more
    // than the rows of one reading.
    void ForgetUnused();

private:
    struct Entry {
        TrackTags tags;
        ULONGLONG nBytes = 0;
        FILETIME written = {};
        bool bUsed = true;
    };
    std::unordered_map<std::wstring, Entry> m_entries;
};
