// The string class: formatting, sharing and buffer access.
#include "framework/CodePage.h"
#include "framework/String.h"

#include <cstring>

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

// A search never stops on the second byte of a character; in code page 932 that byte can be
// a backslash (ソ is 83 5C, 表 is 95 5C).
TEST(StringSearch, FindsWholeCharactersOfTheCodePage) {
    const char sjis[] = "\x83\x5C\\\x95\x5C\\x";  // ソ\表\x
    const int nSjis = static_cast<int>(strlen(sjis));
    EXPECT_EQ(FindChar(sjis, nSjis, '\\', 0, 932), 2);
    EXPECT_EQ(FindChar(sjis, nSjis, '\\', 3, 932), 5);
    EXPECT_EQ(ReverseFindChar(sjis, nSjis, '\\', 932), 5);
    EXPECT_EQ(ReverseFindChar(sjis, 4, '\\', 932), 2);
    EXPECT_EQ(FindText(sjis, nSjis, "\\x", 0, 932), 5);
    EXPECT_EQ(FindChar(sjis, nSjis, '\\', 0, 1252), 1);  // where every byte is a character
    // The process speaks UTF-8: ASCII never hides inside its characters.
    CString utf8("\xE9\x9F\xB3\\\xF0\x9F\x8E\xB5\\a");  // 音\🎵\a
    EXPECT_EQ(utf8.Find('\\'), 3);
    EXPECT_EQ(utf8.ReverseFind('\\'), 8);
    EXPECT_EQ(CharBytesAt(static_cast<LPCSTR>(utf8) + 4), 4);
    EXPECT_EQ(CharBytesAt("\xF0\x9F", CP_UTF8), 1);  // cut short: no whole character
}

// Where the code page is a legacy one, a name it cannot spell is refused, not mangled.
TEST(StringConversion, SaysWhenTheCodePageCannotSpellAName) {
    const struct {
        const wchar_t* text;
        UINT nCodePage;
        bool bSpelled;
        const char* bytes;
    } cases[] = {
        {L"caf\u00E9", 1252, true, "caf\xE9"},
        {L"\u0B85.mp3", 1252, false, nullptr},
        {L"\u0B85.mp3", CP_ACP, true, "\xE0\xAE\x85.mp3"},
        {L"\U0001F3B5", CP_UTF8, true, "\xF0\x9F\x8E\xB5"},
        {L"\xD800x", CP_UTF8, false, nullptr},  // half a surrogate pair
    };
    for (const auto& c : cases) {
        CString ansi;
        EXPECT_EQ(WideToAnsi(c.text, &ansi, c.nCodePage), c.bSpelled) << c.nCodePage;
        if (c.bytes) {
            EXPECT_STREQ(ansi, c.bytes);
        }
    }
    EXPECT_EQ(AnsiToWide("\x83\x5C", 932), L"\u30BD");
}

TEST(StringResource, LoadsFromTheProgramsStringTable) {
    CString text;
    EXPECT_TRUE(text.LoadString(101));
    EXPECT_STREQ(text, "&About Quib...");
    EXPECT_FALSE(text.LoadString(4242));
    EXPECT_TRUE(text.IsEmpty());
}

}  // namespace
