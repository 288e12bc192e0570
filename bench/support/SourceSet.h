// A folder of generated source files of one size, named like media files, removed afterwards.
#pragma once

#include "tests/support/TempFolder.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace bench {

class SourceSet {
public:
    // nCount files of nBytes each; the names cycle through a few media extensions.
    SourceSet(const std::string& label, int nCount, DWORD nBytes)
        : m_folder(label), m_nBytes(nBytes) {
        static const char* const kExtensions[] = {"mp3", "jpg", "avi", "flac", "mp4", "wma"};
        std::vector<char> data(nBytes);
        // Not zeros, so no file system can store them sparse or compressed.
        unsigned seed = 12345;
        for (char& c : data)
            c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
        for (int i = 0; i < nCount; ++i) {
            char name[64];
            std::snprintf(name, sizeof(name), "track%05d.%s", i + 1, kExtensions[i % 6]);
            std::memcpy(data.data(), &i, std::min<size_t>(sizeof(i), data.size()));
            if (!test::TempFolder::WriteFile(m_folder.PathOf(name), data.data(), data.size()))
                m_bComplete = false;
            m_names.push_back(name);
        }
    }
    SourceSet(const SourceSet&) = delete;
    SourceSet& operator=(const SourceSet&) = delete;

    bool Complete() const { return m_bComplete; }
    DWORD FileBytes() const { return m_nBytes; }
    int Count() const { return static_cast<int>(m_names.size()); }
    const std::string& Name(int i) const { return m_names[static_cast<size_t>(i)]; }
    std::string Path(int i) const { return m_folder.PathOf(Name(i)); }

    // Reads every file once, so that no timed run is the first to fetch them.
    void Warm() const {
        for (int i = 0; i < Count(); ++i)
            test::TempFolder::ReadFile(Path(i));
    }

private:
    test::TempFolder m_folder;
    DWORD m_nBytes;
    std::vector<std::string> m_names;
    bool m_bComplete = true;
};

}  // namespace bench
