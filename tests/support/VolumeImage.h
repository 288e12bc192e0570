// Raw FAT12, FAT16, FAT32 and exFAT volumes made from bytes, laid out as mkfs lays them out:
// a boot sector, the FATs and a root holding the given 32-byte entries. Written sparsely into a
// file, for the disk reader's unit table and its benchmark.
#pragma once

#include "framework/KernelHandle.h"

#include <string>
#include <utility>

namespace test {

using Entries = std::string;  // 32-byte directory entries, one after the other

// An 8.3 entry ("SONG    MP3"), after the entries of its long name when it has one.
inline Entries FatEntry(const char* lpszShort, const std::wstring& longName = L"",
                        BYTE nAttributes = 0x20) {
    Entries entry(32, '\0');
    entry.replace(0, 11, lpszShort, 11);
    entry[11] = static_cast<char>(nAttributes);
    BYTE nSum = 0;
    for (int i = 0; i < 11; ++i)
        nSum = static_cast<BYTE>(((nSum & 1) << 7) + (nSum >> 1) + static_cast<BYTE>(entry[i]));
    std::wstring units = longName;
    if (units.size() % 13)
        units += L'\0';
    while (units.size() % 13)
        units += L'\xFFFF';
    Entries parts;
    const int nParts = static_cast<int>(units.size() / 13);
    for (int n = nParts; n >= 1; --n) {
        Entries part(32, '\0');
        part[0] = static_cast<char>(n | (n == nParts ? 0x40 : 0));
        part[11] = 0x0F;
        part[13] = static_cast<char>(nSum);
        static const int kUnitAt[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
        for (int i = 0; i < 13; ++i) {
            part[kUnitAt[i]] = static_cast<char>(units[(n - 1) * 13 + i] & 0xFF);
            part[kUnitAt[i] + 1] = static_cast<char>(units[(n - 1) * 13 + i] >> 8);
        }
        parts += part;
    }
    return parts + entry;
}

// The entry set of an exFAT file: its primary entry, the stream extension, the name's parts.
inline Entries ExFatEntry(const std::wstring& name) {
    const size_t nParts = (name.size() + 14) / 15;
    Entries set(32 * (2 + nParts), '\0');
    set[0] = static_cast<char>(0x85);
    set[1] = static_cast<char>(1 + nParts);
    set[32] = static_cast<char>(0xC0);
    set[32 + 3] = static_cast<char>(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        const size_t at = 32 * (2 + i / 15) + 2 + 2 * (i % 15);
        set[32 * (2 + i / 15)] = static_cast<char>(0xC1);
        set[at] = static_cast<char>(name[i] & 0xFF);
        set[at + 1] = static_cast<char>(name[i] >> 8);
    }
    return set;
}

enum class VolumeKind { kFat12, kFat16, kFat32, kExFat };

struct Volume {
    VolumeKind kind;
    ULONGLONG nSectors;    // of 512 bytes
    UINT nClusterSectors;  // a power of 2
    Entries root;
    UINT nRootEntries = 512;  // FAT12/16: the root's fixed size
    bool bLoop = false;       // FAT32, exFAT: the root's chain ends back at its start
};

// Writes volume into the file at path, sparse where it holds nothing; false when it cannot.
inline bool WriteVolume(const std::string& path, const Volume& volume) {
    const bool bFat32 = volume.kind == VolumeKind::kFat32;
    const bool bExFat = volume.kind == VolumeKind::kExFat;
    const ULONGLONG nClusterBytes = 512ULL * volume.nClusterSectors;
    const int nEntryHalves = volume.kind == VolumeKind::kFat12 ? 3 : bFat32 || bExFat ? 8 : 4;
    const ULONGLONG nFatSectors =
        ((volume.nSectors / volume.nClusterSectors + 2) * nEntryHalves / 2 + 511) / 512;
    const ULONGLONG nFatAt = bExFat ? 2048 : bFat32 ? 32 : 1;  // in sectors, as mkfs puts it
    const ULONGLONG nRootSectors = bFat32 || bExFat ? 0 : (volume.nRootEntries * 32 + 511) / 512;
    const ULONGLONG nDataAt = nFatAt + (bExFat ? 1 : 2) * nFatSectors + nRootSectors;
    const ULONGLONG nClusters = (volume.nSectors - nDataAt) / volume.nClusterSectors;
    const ULONGLONG nRootCluster = bExFat ? 4 : 2;  // exFAT's bitmap and up-case table first
    auto put = [](std::string* pBytes, size_t at, ULONGLONG nValue, size_t nBytes) {
        for (size_t i = 0; i < nBytes; ++i)
            (*pBytes)[at + i] = static_cast<char>((nValue >> (8 * i)) & 0xFF);
    };
    std::string boot(512, '\0');
    boot.replace(3, 8, bExFat ? "EXFAT   " : "mkfs.fat");
    if (bExFat) {
        put(&boot, 80, nFatAt, 4);
        put(&boot, 88, nDataAt, 4);
        put(&boot, 92, nClusters, 4);
        put(&boot, 96, nRootCluster, 4);
        put(&boot, 108, 9, 1);
        for (UINT n = volume.nClusterSectors; n > 1; n /= 2)
            ++boot[109];
    } else {
        put(&boot, 11, 512, 2);
        put(&boot, 13, volume.nClusterSectors, 1);
        put(&boot, 14, nFatAt, 2);
        put(&boot, 16, 2, 1);
        put(&boot, 17, bFat32 ? 0 : volume.nRootEntries, 2);
        put(&boot, volume.nSectors < 65536 ? 19 : 32, volume.nSectors,
            volume.nSectors < 65536 ? 2 : 4);
        put(&boot, bFat32 ? 36 : 22, nFatSectors, bFat32 ? 4 : 2);
        put(&boot, 44, bFat32 ? nRootCluster : 0, 4);
    }
    put(&boot, 510, 0xAA55, 2);
    // The root in clusters from nRootCluster on, each chained to the next in the FAT.
    const ULONGLONG nRootClusters = (volume.root.size() + nClusterBytes - 1) / nClusterBytes;
    std::string fat((nRootCluster + nRootClusters) * 4, '\0');
    for (ULONGLONG n = 0; n < nRootClusters; ++n)
        put(&fat, (nRootCluster + n) * 4,
            n + 1 < nRootClusters ? nRootCluster + n + 1
            : volume.bLoop        ? nRootCluster
                                  : 0x0FFFFFFF | (bExFat ? 0xF0000000 : 0),
            4);
    const ULONGLONG nRootAt = bFat32 || bExFat ? nDataAt * 512 + (nRootCluster - 2) * nClusterBytes
                                               : (nDataAt - nRootSectors) * 512;
    const std::pair<ULONGLONG, std::string> parts[] = {
        {0, boot}, {nFatAt * 512, bFat32 || bExFat ? fat : std::string()}, {nRootAt, volume.root}};
    const CHandle hImage(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    bool bOk = !hImage.IsNull();
    for (const auto& part : parts) {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(part.first);
        DWORD nWritten = 0;
        bOk = bOk && ::SetFilePointerEx(hImage, at, nullptr, FILE_BEGIN) &&
              ::WriteFile(hImage, part.second.data(), static_cast<DWORD>(part.second.size()),
                          &nWritten, nullptr);
    }
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(volume.nSectors * 512);
    return bOk && ::SetFilePointerEx(hImage, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(hImage);
}

}  // namespace test
