// Checks what a copy left in a drive's root: how many files, and a few of them by name and size.
#pragma once

#include "framework/String.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace bench {

struct ExpectedFile {
    std::string name;
    DWORD nBytes;
};

// Prints what is wrong and returns false, or returns true.
inline bool CheckDrive(const std::string& drive, size_t nCount,
                       const std::vector<ExpectedFile>& samples, const char* lpszRun) {
    bool bOk = true;
    size_t nFound = test::TempFolder::FileNames(drive).size();
    if (nFound != nCount) {
        std::printf("FAILED %s: %u files on %s, expected %u\n", lpszRun,
                    static_cast<unsigned>(nFound), drive.c_str(), static_cast<unsigned>(nCount));
        bOk = false;
    }
    for (const ExpectedFile& sample : samples) {
        const CString path = JoinPath(drive.c_str(), sample.name.c_str());
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
            std::printf("FAILED %s: %s is missing\n", lpszRun, static_cast<LPCSTR>(path));
            bOk = false;
        } else if (data.nFileSizeHigh != 0 || data.nFileSizeLow != sample.nBytes) {
            std::printf("FAILED %s: %s has %lu bytes, expected %lu\n", lpszRun,
                        static_cast<LPCSTR>(path), data.nFileSizeLow, sample.nBytes);
            bOk = false;
        }
    }
    return bOk;
}

}  // namespace bench
