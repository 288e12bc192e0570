// Reading and writing playlist files, and what the user is told about entries left out.
#include "playlist/M3uPlaylist.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;
const char kTamilA[] = "\xE0\xAE\x85";  // in no ANSI code page

class M3u : public ::testing::Test {
protected:
    M3u() {
        ::CreateDirectoryA(folder.PathOf("sub").c_str(), nullptr);
        for (const char* name : {"a.mp3", "sub\\b.mp3", "caf\xE9.mp3"})
            folder.CreateFile(name, "x");
        std::wstring tamil = AnsiToWide(folder.Path().c_str()) + L"\\\u0B85.mp3";
        ::CloseHandle(
            ::CreateFileW(tamil.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    ~M3u() override {
        test::TempFolder::RemoveContents(folder.PathOf("sub"));
        std::wstring tamil = AnsiToWide(folder.Path().c_str()) + L"\\\u0B85.mp3";
        ::DeleteFileW(tamil.c_str());
    }

    // Reads a playlist file of this name and content; the file names of what it added.
    Names Read(const std::string& name, const std::string& content, ImportResult* pResult) {
        std::string path = folder.CreateFile(name, content);
        ReadM3uPlaylist(AnsiToWide(path.c_str()), pResult);
        Names names;
        for (const CString& added : pResult->paths)
            names.push_back(static_cast<LPCSTR>(added.Mid(added.ReverseFind('\\') + 1)));
        return names;
    }

    test::TempFolder folder{"m3u"};
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at; (at = text.find(from)) != std::string::npos;)
        text.replace(at, from.size(), to);
    return text;
}

TEST_F(M3u, EachKindOfLineGivesItsEntryOrItsReason) {
    struct Case {
        const char* what;
        const char* file;
        std::string content;  // {dir} stands for the folder with slashes, {root} without drive
        Names added;
        const char* message;
    };
    const Case cases[] = {
        {"relative paths, comments, blanks, LF ends",
         "list.m3u8",
         "#EXTM3U\n#EXTINF:5,Song\na.mp3\n  sub/b.mp3 \n\n# note\nsub\\..\\a.mp3",
         {"a.mp3", "b.mp3", "a.mp3"},
         ""},
        {"byte-order mark, CRLF ends",
         "list.m3u8",
         "\xEF\xBB\xBF#EXTM3U\r\na.mp3\r\nsub\\b.mp3\r\n",
         {"a.mp3", "b.mp3"},
         ""},
        {"absolute, root-relative, mixed separators",
         "list.m3u",
         "{dir}/a.mp3\r\n{root}\\sub/b.mp3\r\n",
         {"a.mp3", "b.mp3"},
         ""},
        {"ANSI in .m3u", "list.m3u", "caf\xE9.mp3\r\n", {"caf\xE9.mp3"}, ""},
        {"UTF-8 in .m3u8", "list.m3u8", "caf\xC3\xA9.mp3\r\n", {"caf\xE9.mp3"}, ""},
        {"missing files, folders, devices, nothing",
         "list.m3u8",
         "missing.mp3\nsub\n.\nCON\nsub\\nul.mp3\n\\\\.\\PhysicalDrive0\nC:\n",
         {},
         "Added 0 entries, skipped 7 (1 not found, 6 not a file)."},
        {"binary junk, NUL bytes, invalid UTF-8",
         "list.m3u8",
         std::string("a\0b.mp3\n", 8) + "\x01\x02\x03\n\xFF\xFE junk\n\xC3(.mp3\na.mp3\n",
         {"a.mp3"},
         "Added 1 entry, skipped 4 (4 not valid text)."},
        {"lines of any length",
         "list.m3u",
         std::string(100000, 'x') + "\na.mp3\n#" + std::string(100000, 'y'),
         {"a.mp3"},
         "Added 1 entry, skipped 1 (1 too long)."},
        {"names the code page cannot spell",
         "list.m3u8",
         std::string(kTamilA) + ".mp3\na.mp3",
         {"a.mp3"},
         "Added 1 entry, skipped 1 (1 name not representable)."},
    };
    std::string dir = Replace(folder.Path(), "\\", "/");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string content = Replace(Replace(c.content, "{dir}", dir), "{root}", dir.substr(2));
        ImportResult result;
        EXPECT_EQ(Read(c.file, content, &result), c.added);
        EXPECT_STREQ(DescribeImport(result), c.message);
    }
}

TEST_F(M3u, AFileThatCannotBeOpenedIsNamedInTheMessage) {
    ImportResult result;
    std::string path = folder.PathOf("absent.m3u");
    ReadM3uPlaylist(AnsiToWide(path.c_str()), &result);
    EXPECT_EQ(std::string(DescribeImport(result)),
              "Cannot read " + path + ": " + std::string(SystemErrorText(ERROR_FILE_NOT_FOUND)) +
                  "\nAdded 0 entries.");
}

// A huge file ends in one result; its entries past the cap are counted, not taken.
TEST_F(M3u, HundredMegabytesAndMoreEntriesThanTheCapEndInOneResult) {
    const size_t nJunkLines = (40 << 20) / 6;
    std::string content = "a.mp3\n" + std::string(60 << 20, 'x') + "\n";
    for (size_t i = 0; i < nJunkLines; ++i)
        content += "\x01junk\n";
    content += "sub/b.mp3\n";
    ImportResult result;
    EXPECT_EQ(Read("huge.m3u", content, &result), (Names{"a.mp3", "b.mp3"}));
    CString expected;
    expected.Format("Added 2 entries, skipped %u (%u not valid text, 1 too long).",
                    unsigned(nJunkLines + 1), unsigned(nJunkLines));
    EXPECT_STREQ(DescribeImport(result), expected);

    std::string many;
    for (size_t i = 0; i < kMaxImportEntries + 5; ++i)
        many += "a.mp3\n";
    ImportResult capped;
    EXPECT_EQ(Read("many.m3u", many, &capped).size(), kMaxImportEntries);
    EXPECT_EQ(capped.skipped[int(SkipReason::kOverLimit)], 5u);
}

TEST_F(M3u, SavedPathsAreWrittenExactlyAndReadBackTheSame) {
    const std::vector<CString> paths = {folder.PathOf("a.mp3").c_str(),
                                        folder.PathOf("caf\xE9.mp3").c_str(),
                                        folder.PathOf("sub\\b.mp3").c_str()};
    std::string lines = "#EXTM3U\r\n" + folder.PathOf("a.mp3") + "\r\n" +
                        folder.PathOf("caf\xC3\xA9.mp3") + "\r\n" + folder.PathOf("sub\\b.mp3") +
                        "\r\n";
    for (const char* name : {"saved.m3u8", "saved.m3u"}) {
        SCOPED_TRACE(name);
        std::string path = folder.PathOf(name);
        ASSERT_EQ(WriteM3uPlaylist(path.c_str(), paths), 0u);
        // .m3u carries the mark, else a reader would take it for ANSI.
        std::string bom = std::string(name).back() == '8' ? "" : "\xEF\xBB\xBF";
        EXPECT_EQ(test::TempFolder::ReadFile(path), bom + lines);
        ImportResult result;
        ReadM3uPlaylist(AnsiToWide(path.c_str()), &result);
        EXPECT_EQ(result.paths, paths);
        EXPECT_STREQ(DescribeImport(result), "");
    }
}

}  // namespace
