#include "tags/TagCache.h"

const TrackTags& CTagCache::Tags(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA facts = {};
    const bool bFound = ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &facts) != 0;
    const ULONGLONG nBytes = (ULONGLONG(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
    auto [found, bNew] = m_entries.try_emplace(path);
    Entry& entry = found->second;
    if (bNew || !bFound || entry.nBytes != nBytes ||
        ::CompareFileTime(&entry.written, &facts.ftLastWriteTime) != 0) {
        entry.tags = ReadTrackTags(path);
        entry.nBytes = nBytes;
        entry.written = facts.ftLastWriteTime;
    }
    entry.bUsed = true;
    return entry.tags;
}

void CTagCache::ForgetUnused() {
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (!it->second.bUsed) {
            it = m_entries.erase(it);
        } else {
            it->second.bUsed = false;
            ++it;
        }
    }
}
