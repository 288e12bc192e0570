// Tags as TagLib reads them from real files of every kind the program reads, made by Debian's
// encoders and tagged by another tagging library; damaged files; and the order they sort in.
#include "framework/String.h"
#include "playlist/RowOrder.h"
#include "tags/TagCache.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Where make-tagged-media.py put the files, as a Windows path.
std::wstring MediaPath(const char* name) {
    const char* folder = std::getenv("OVELO_TAGGED_MEDIA");
    std::string path = std::string(folder ? folder : "") + "\\" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return AnsiToWide(path.c_str());
}

struct Expected {
    const char* name;
    const wchar_t* albumArtist;
    const wchar_t* artist;
    const wchar_t* album;
    unsigned nDisc;
    unsigned nTrack;
    const wchar_t* title;
    int nSeconds;
};

// The facts make-tagged-media.py writes; the disc and track numbers disagree with the names.
const Expected kMedia[] = {
    {"a.mp3", L"Ann Teller", L"Bo Reader", L"Stories", 2, 3, L"The Owl", 1},
    {"b.flac", L"Ann Teller", L"Ann Teller", L"Stories", 1, 2, L"The Fox", 1},
    {"c.ogg", L"Ann Teller", L"Ann Teller", L"Stories", 2, 1, L"The Bear", 1},
    {"d.opus", L"", L"Ann Teller", L"Stories", 1, 10, L"The Hare", 1},
    {"e.m4a", L"Ann Teller", L"Ann Teller", L"Stories", 1, 1, L"The Cr\u00f6w \u2602", 2},
    {"f.wma", L"Ann Teller", L"Ann Teller", L"Stories", 2, 2, L"The Mole", 3},
    {"g.wav", L"Ann Teller", L"Ann Teller", L"Stories", 1, 3, L"The Wren", 1},
    {"untagged.mp3", L"", L"", L"", 0, 0, L"", 1},
    {"broken.mp3", L"", L"", L"", 0, 0, L"", -1},
    {"missing.flac", L"", L"", L"", 0, 0, L"", -1},
};

TEST(Tags, EachKindGivesItsSortKeysTitleAndLength) {
    ASSERT_NE(std::getenv("OVELO_TAGGED_MEDIA"), nullptr) << "run through ctest";
    for (const Expected& e : kMedia) {
        SCOPED_TRACE(e.name);
        EXPECT_TRUE(HasReadableTags(MediaPath(e.name)));
        const TrackTags tags = ReadTrackTags(MediaPath(e.name));
        EXPECT_EQ(tags.albumArtist, e.albumArtist);
        EXPECT_EQ(tags.artist, e.artist);
        EXPECT_EQ(tags.album, e.album);
        EXPECT_EQ(tags.nDisc, e.nDisc);
        EXPECT_EQ(tags.nTrack, e.nTrack);
        EXPECT_EQ(tags.title, e.title);
        EXPECT_EQ(tags.nSeconds, e.nSeconds);
    }
    EXPECT_FALSE(HasReadableTags(L"C:\\notes.txt"));
    EXPECT_FALSE(HasReadableTags(L"C:\\album.mp3\\cover"));
}

TEST(Tags, SortByTagsPutsTheAlbumInOrderAndTheUntaggedLastByName) {
    std::vector<TrackTags> tags;
    std::vector<std::wstring> names;
    for (const Expected& e : kMedia) {
        tags.push_back(ReadTrackTags(MediaPath(e.name)));
        names.push_back(AnsiToWide(e.name));
    }
    const std::vector<int> order = ByTags(tags, names);
    std::vector<std::string> sorted;
    for (int nRow : order)
        sorted.push_back(kMedia[nRow].name);
    EXPECT_EQ(sorted,
              (std::vector<std::string>{"e.m4a", "b.flac", "g.wav", "d.opus", "c.ogg", "f.wma",
                                        "a.mp3", "broken.mp3", "missing.flac", "untagged.mp3"}));
}

// Damage where a file's own lengths and counts stand: each copy is read without a crash, and
// what it gives stays within bounds.
TEST(Tags, DamagedFilesReadAsWellAsTheyCan) {
    test::TempFolder folder("damaged-tags");
    for (const Expected& e : kMedia) {
        CString path;
        WideToAnsi(MediaPath(e.name), &path);
        const std::string bytes = test::TempFolder::ReadFile(static_cast<LPCSTR>(path));
        for (size_t nAt = 0; nAt < bytes.size() && nAt < 1024; nAt += 31) {
            SCOPED_TRACE(std::string(e.name) + " at " + std::to_string(nAt));
            std::string damaged = bytes;
            damaged.replace(nAt, std::min<size_t>(4, bytes.size() - nAt), "\xFF\xFF\xFF\x7F");
            const std::string copy =
                folder.CreateFile(e.name, nAt % 2 ? damaged : bytes.substr(0, nAt));
            const TrackTags tags = ReadTrackTags(AnsiToWide(copy.c_str()));
            EXPECT_LE(tags.nDisc, 1000000u);
            EXPECT_LE(tags.nTrack, 1000000u);
        }
    }
    // No MP3 at all, and long: read only so far, never scanned to its end.
    std::string zeros(48 << 20, '\0');
    const std::string big = folder.CreateFile("zeros.mp3", zeros);
    EXPECT_EQ(ReadTrackTags(AnsiToWide(big.c_str())).nSeconds, -1);
}

std::string BigEndian(size_t n, int nBytes, int nBits = 8) {
    std::string bytes;
    for (int i = nBytes - 1; i >= 0; --i)
        bytes += static_cast<char>((n >> (i * nBits)) & ((1 << nBits) - 1));
    return bytes;
}

// Each level of these is parsed by a nested call: they exhausted the stack and ended the
// program. The tags before them are still read.
TEST(Tags, NestingThatExhaustedTheStackIsPassedOver) {
    test::TempFolder folder("nested-tags");
    const size_t nLevels = 50000;
    // An ID3v2.4 title, then chapters each holding the next.
    std::string id3 = "TIT2" + BigEndian(5, 4, 7) + std::string("\0\0\3Deep", 7);
    for (size_t i = 0; i < nLevels; ++i)
        id3 += "CHAP" + BigEndian(28 * (nLevels - i) - 10, 4, 7) + std::string("\0\0a", 3) +
               std::string(17, '\0');
    const std::string mp3 = folder.CreateFile("deep.mp3", std::string("ID3\4\0\0", 6) +
                                                              BigEndian(id3.size(), 4, 7) + id3);
    EXPECT_EQ(ReadTrackTags(AnsiToWide(mp3.c_str())).title, L"Deep");
    // A movie's title, then movies each holding the next.
    const std::string name = BigEndian(28, 4) + "\xA9nam" + BigEndian(20, 4) + "data" +
                             BigEndian(1, 4) + BigEndian(0, 4) + "Deep";
    const std::string ilst = BigEndian(8 + name.size(), 4) + "ilst" + name;
    const std::string meta = BigEndian(12 + ilst.size(), 4) + "meta" + BigEndian(0, 4) + ilst;
    const std::string udta = BigEndian(8 + meta.size(), 4) + "udta" + meta;
    std::string m4a = BigEndian(8 + udta.size() + 8 * nLevels, 4) + "moov" + udta;
    for (size_t i = 0; i < nLevels; ++i)
        m4a += BigEndian(8 * (nLevels - i), 4) + "moov";
    const std::string path =
        folder.CreateFile("deep.m4a", BigEndian(16, 4) + "ftypM4A " + BigEndian(0, 4) + m4a);
    EXPECT_EQ(ReadTrackTags(AnsiToWide(path.c_str())).title, L"Deep");
}

TEST(Tags, TheCacheReadsAFileAgainOnceItChanged) {
    test::TempFolder folder("tag-cache");
    CString source;
    WideToAnsi(MediaPath("b.flac"), &source);
    const std::string path =
        folder.CreateFile("song.flac", test::TempFolder::ReadFile(static_cast<LPCSTR>(source)));
    CTagCache cache;
    EXPECT_EQ(cache.Tags(AnsiToWide(path.c_str())).title, L"The Fox");
    WideToAnsi(MediaPath("c.ogg"), &source);
    folder.CreateFile("song.flac", test::TempFolder::ReadFile(static_cast<LPCSTR>(source)));
    EXPECT_EQ(cache.Tags(AnsiToWide(path.c_str())).title, L"");
}

}  // namespace
