// What the drive list holds, and the figures its capacity text must show for a drive of the
// test prefix.
#pragma once

#include "playlist/PlaylistDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace test {

inline std::vector<std::string> Entries(const CComboBox& combo) {
    std::vector<std::string> entries;
    for (int i = 0; i < combo.GetCount(); ++i)
        entries.push_back(static_cast<LPCSTR>(combo.GetLBText(i)));
    return entries;
}

struct Capacity {
    ULONGLONG freeMB = 0;
    ULONGLONG totalMB = 0;
};

inline Capacity QueryCapacity(const char* root) {
    ULARGE_INTEGER available, total, totalFree;
    EXPECT_TRUE(::GetDiskFreeSpaceExA(root, &available, &total, &totalFree));
    return {totalFree.QuadPart >> 20, total.QuadPart >> 20};
}

// The capacity text shows the drive's figures. The drives are host folders whose free
// space other programs change, so the free figure must lie between readings taken
// before and after the window read it.
inline void ExpectCapacityOf(const char* root, const Capacity& before, const CString& text) {
    Capacity after = QueryCapacity(root);
    unsigned long long freeMB = 0, totalMB = 0;
    ASSERT_EQ(sscanf(text, "Free: %llu MB, Total: %llu MB", &freeMB, &totalMB), 2) << text;
    EXPECT_STREQ(text, FormatCapacityText(freeMB << 20, totalMB << 20));
    EXPECT_EQ(totalMB, after.totalMB);
    EXPECT_GE(freeMB, std::min(before.freeMB, after.freeMB));
    EXPECT_LE(freeMB, std::max(before.freeMB, after.freeMB));
}

}  // namespace test
