// The string class: formatting, sharing and buffer access.
#include "framework/String.h"

#include <gtest/gtest.h>

namespace {

TEST(StringFormat, SixtyFourBitValuesFormatInFull) {
    CString text;
    text.Format("Free: %I64u MB, Total: %I64u MB", 16000000000ULL, 18446744073709551615ULL);
    EXPECT_STREQ(text, "Free: 16000000000 MB, Total: 18446744073709551615 MB");
}

TEST(StringFormat, MixedArgumentsAndPadding) {
    CString text;
    text.Format("%03u_%s", 7u, "song.mp3");
    EXPECT_STREQ(text, "007_song.mp3");
    text.Format("%03u_%s", 1000u, "a");
    EXPECT_STREQ(text, "1000_a");
    text.Format("%d%%", 45);
    EXPECT_STREQ(text, "45%");
}

TEST(StringFormat, LongResultIsNotCut) {
    CString big(std::string(5000, 'x').c_str());
    CString text;
    text.Format("<%s>", static_cast<LPCSTR>(big));
    EXPECT_EQ(text.GetLength(), 5002);
}

TEST(StringFormat, FormatMayReadItsOwnOldValue) {
    CString text("abc");
    text.Format("%s-%s", static_cast<LPCSTR>(text), static_cast<LPCSTR>(text));
    EXPECT_STREQ(text, "abc-abc");
}

TEST(StringSharing, CopiesAreIndependentAfterWrite) {
    CString a("playlist");
    CString b = a;
    EXPECT_EQ(static_cast<LPCSTR>(a), static_cast<LPCSTR>(b));  // shared until written
    b.GetBuffer(20)[0] = 'P';
    b.ReleaseBuffer();
    EXPECT_STREQ(a, "playlist");
    EXPECT_STREQ(b, "Playlist");
}

TEST(StringSharing, AppendingToItselfWorks) {
    CString a("ab");
    a += a;
    a += static_cast<LPCSTR>(a) + 1;
    EXPECT_STREQ(a, "ababbab");
}

TEST(StringBuffer, ReleaseBufferTakesLengthFromTerminator) {
    CString s;
    lstrcpyA(s.GetBuffer(100), "E:");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 2);
    EXPECT_STREQ(s + "\\", "E:\\");
}

TEST(StringSearch, FindsAndCuts) {
    CString path("C:\\music\\song.mp3");
    EXPECT_EQ(path.ReverseFind('\\'), 8);
    EXPECT_STREQ(path.Mid(path.ReverseFind('\\') + 1), "song.mp3");
    EXPECT_STREQ(path.Left(2), "C:");
    EXPECT_STREQ(path.Right(3), "mp3");
    EXPECT_EQ(path.Find("song"), 9);
    EXPECT_EQ(path.Find('z'), -1);
    CString padded("  Add Files  ");
    EXPECT_STREQ(padded.Trim(), "Add Files");
}

TEST(StringResource, LoadsFromTheProgramsStringTable) {
    CString text;
    EXPECT_TRUE(text.LoadString(101));
    EXPECT_STREQ(text, "&About Quib...");
    EXPECT_FALSE(text.LoadString(4242));
    EXPECT_TRUE(text.IsEmpty());
}

}  // namespace
