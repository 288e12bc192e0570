// Reading and writing playlist files, and what the user is told about entries left out.
#include "import/Import.h"
#include "import/M3uWriter.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;
const char kCafe[] = "caf\xC3\xA9.mp3";                // café.mp3
const char kNihon[] = "\xE6\x97\xA5\xE6\x9C\xAC.mp3";  // 日本.mp3
const char kTamilA[] = "\xE0\xAE\x85.mp3";             // in no legacy ANSI code page

// The UTF-16 bytes of text, little- or big-endian, after their byte-order mark.
std::string Utf16(const std::wstring& text, bool bBigEndian) {
    std::string bytes = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t ch : text) {
        const char low = static_cast<char>(ch & 0xFF), high = static_cast<char>(ch >> 8);
        bytes += bBigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

class M3u : public ::testing::Test {
protected:
    M3u() {
        ::CreateDirectoryA(folder.PathOf("sub").c_str(), nullptr);
        ::CreateDirectoryA(folder.PathOf("sub\\clips.mp4").c_str(), nullptr);
        for (const char* name : {"a.mp3", "sub\\b.mp3", "My Song.mp3", kCafe, kNihon, kTamilA,
                                 "01 Intro.m4a", "03 Live.wav", "04 Talk.opus"})
            folder.CreateFile(name, "x");
    }
    ~M3u() override {
        ::RemoveDirectoryA(folder.PathOf("sub\\clips.mp4").c_str());
        test::TempFolder::RemoveContents(folder.PathOf("sub"));
    }

    // Opens a playlist file of this name and content; the file names of what it added.
    Names Read(const std::string& name, const std::string& content, ImportResult* pResult,
               const ImportContext& context = ImportContext()) {
        std::string path = folder.CreateFile(name, content);
        *pResult = ImportPaths({AnsiToWide(path.c_str())}, PathSource::kPlaylist, context);
        Names names;
        for (const CString& added : pResult->paths)
            names.push_back(static_cast<LPCSTR>(FileNameOfPath(added)));
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
        const char* message;  // {file} stands for the playlist's path
        std::vector<std::pair<const char*, std::string>> others = {};  // playlists it names
        UINT nLegacyCodePage = 1252;
    };
    const std::string sjisNihon = "\x93\xFA\x96\x7B.mp3";  // 日本.mp3 in code page 932
    auto lines = [](const std::string& line, size_t nCount) {
        std::string text;
        while (nCount-- > 0)
            text += line + "\n";
        return text;
    };
    const std::string missing = lines("missing.mp3", 10000);
    const char kNone[] = "Added 0 entries, skipped 10000 (10000 not found).";
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
        {"CR ends, blanks before #EXTM3U, tabs, directives, durations, no last line end",
         "list.m3u",
         "\r \r#EXTM3U\r#EXTINF:-1,A\r#EXTVLCOPT:x=1\r\ta.mp3 \t\r#EXTINF:0,B\r#EXTGRP:g\r"
         "# said\rsub/b.mp3\r#EXTINF:123.45,C\r#PLAYLIST:p\ra.mp3",
         {"a.mp3", "b.mp3", "a.mp3"},
         ""},
        {"absolute, root-relative, mixed separators",
         "list.m3u",
         "{dir}/a.mp3\r\n{root}\\sub/b.mp3\r\n",
         {"a.mp3", "b.mp3"},
         ""},
        {"UTF-8 in .m3u8", "list.m3u8", std::string(kCafe) + "\r\n" + kNihon, {kCafe, kNihon}, ""},
        {"songs of every kind",
         "list.m3u8",
         "01 Intro.m4a\n03 Live.wav\n04 Talk.opus\na.mp3",
         {"01 Intro.m4a", "03 Live.wav", "04 Talk.opus", "a.mp3"},
         ""},
        {"UTF-8 in .m3u without a mark",
         "list.m3u",
         std::string(kCafe) + "\n" + kNihon,
         {kCafe, kNihon},
         ""},
        {"the user's code page in .m3u", "list.m3u", "caf\xE9.mp3\r\n", {kCafe}, ""},
        {"a double-byte user's code page in .m3u", "list.m3u", sjisNihon, {kNihon}, "", {}, 932},
        {"UTF-16 little-endian",
         "list.m3u",
         Utf16(L"#EXTM3U\r\ncaf\u00E9.mp3\r\n\u65E5\u672C.mp3\r\n", false),
         {kCafe, kNihon},
         ""},
        {"UTF-16 big-endian",
         "list.m3u8",
         Utf16(L"\u0B85.mp3\ra.mp3", true),
         {kTamilA, "a.mp3"},
         ""},
        {"broken UTF-16",
         "list.m3u",
         Utf16(L"\xD800x.mp3\na.mp3\n", false) + "z",
         {"a.mp3"},
         "Added 1 entry, skipped 1 (1 not valid text)."},
        {"file: addresses",
         "list.m3u8",
         "file:///{dir}/My%20Song.mp3\nFILE://localhost/{dir}/%E6%97%A5%E6%9C%AC.mp3\n"
         "file://{root}/sub/b.mp3\nfile:/{dir}/a.mp%33\nfile:///%FF.mp3\nfile:///{dir}/%00.mp3\n"
         "file:///{dir}/%E2%80%AEa.mp3\n",
         {"My Song.mp3", kNihon, "b.mp3", "a.mp3"},
         "Added 4 entries, skipped 3 (3 not valid text)."},
        {"web addresses",
         "list.m3u8",
         "http://radio/a.mp3\nHTTPS://x/y\nrtsp://cam\nrtmp://s\nrtp://@239.0.0.1:5004\n"
         "udp://@:1234\nmms://old\na.mp3",
         {"a.mp3"},
         "Added 1 entry, skipped 7 (7 web address)."},
        {"a playlist inside a playlist is read in its place",
         "list.m3u8",
         "a.mp3\ninner.m3u\nsub/b.mp3",
         {"a.mp3", kCafe, "a.mp3", "b.mp3"},
         "",
         {{"inner.m3u", std::string(kCafe) + "\r\nsub/../a.mp3"}}},
        {"a playlist naming itself, and two naming each other",
         "list.m3u8",
         "list.m3u8\na.mp3\nLIST.M3U8\nother.m3u8",
         {"a.mp3", "b.mp3"},
         "Added 2 entries, skipped 3 (3 playlist loop).",
         {{"other.m3u8", "sub/b.mp3\nlist.m3u8"}}},
        {"playlists nested past the limit",
         "list.m3u8",
         "n1.m3u8",
         {"a.mp3"},
         "Added 1 entry, skipped 1 (1 nested too deeply).",
         {{"n1.m3u8", "n2.m3u8"},
          {"n2.m3u8", "n3.m3u8"},
          {"n3.m3u8", "n4.m3u8"},
          {"n4.m3u8", "n5.m3u8"},
          {"n5.m3u8", "n6.m3u8"},
          {"n6.m3u8", "n7.m3u8"},
          {"n7.m3u8", "n8.m3u8"},
          {"n8.m3u8", "a.mp3\nn9.m3u8"},
          {"n9.m3u8", "a.mp3"}}},
        {"missing files, folders, devices, nothing",
         "list.m3u8",
         "missing.mp3\nsub\\clips.mp4\n.\nCON\nsub\\nul.mp3\n\\\\.\\PhysicalDrive0\nC:\n",
         {},
         "Added 0 entries, skipped 7 (1 not found, 4 not a file, 2 not a media file)."},
        {"binary junk, NUL bytes, invalid UTF-8; C1 controls, DEL, direction marks, line ends",
         "list.m3u8",
         std::string("a\0b.mp3\n", 8) + "\x01\x02\x03\n\xFF\xFE junk\n\xC3(.mp3\na.mp3\n" +
             "song \xC2\x9D\xE2\x80\xAE"
             "3pm.exe list.m3u\na\x7F.mp3\na\xE2\x80\xA8.mp3\n",
         {"a.mp3"},
         "Added 1 entry, skipped 7 (7 not valid text)."},
        {"lines of any length",
         "list.m3u",
         std::string(100000, 'x') + "\na.mp3\n#" + std::string(100000, 'y'),
         {"a.mp3"},
         "Added 1 entry, skipped 1 (1 too long)."},
        {"programs and shortcuts",
         "list.m3u8",
         "calc.exe\nlink.lnk\na.mp3",
         {"a.mp3"},
         "Added 1 entry, skipped 2 (2 not a media file)."},
        {"file: addresses with a drive as the host, or a host that is no computer's name",
         "list.m3u8",
         "file://{dir}/a.mp3\nfile://srv/{dir}/a.mp3\n"
         "file://nas%0A%0AThese%20are%20safe%20files/x.mp3\nfile://nas-2.example/s/x.mp3\n"
         "file://192.168.0.1/s/x.mp3\nfile://[fe80::1]/s/x.mp3\nfile://nas%E2%80%AE/s/x.mp3\n",
         {"a.mp3"},
         "Added 1 entry, skipped 6 (3 not valid text, 3 on another computer)."},
        {"computers that cannot be read with certainty, in every form",
         "list.m3u8",
         "\\\\\\nas\\music\\a.mp3\n///nas/music/b.mp3\nfile://///nas/music/c.mp3\n"
         "\\\\None of these are on other computers. Yes is safe\\s\\x.mp3\n"
         "//n\xC3\xA5s/s/x.mp3\n//" +
             std::string(254, 'n') + "/s/x.mp3\n",
         {},
         "Added 0 entries, skipped 6 (6 not valid text)."},
        {"PLS, its FileN= lines in any order, NumberOfEntries= not trusted",
         "list.pls",
         "[Playlist]\r\nNumberOfEntries=1\r\nFile3=sub/b.mp3\r\nfile1=a.mp3\r\nTitle1=A\r\n"
         "File2 = My Song.mp3\r\nLength2=-1\r\nFile4=\x01\r\nVersion=2",
         {"a.mp3", "My Song.mp3", "b.mp3"},
         "Added 3 entries, skipped 1 (1 not valid text)."},
        {"a .zpl and a .pls that are no playlists",
         "list.m3u8",
         "list.zpl\nlist.pls\na.mp3",
         {"a.mp3"},
         "Added 1 entry, skipped 2 (2 not a playlist).",
         {{"list.zpl", "a.mp3\n"}, {"list.pls", "\x89PNG\r\n"}}},
        {"XSPF known by what it holds, xml:base, first locations, CDATA",
         "list.m3u",
         "<?xml version='1.0'?><playlist xmlns='http://xspf.org/ns/0/' "
         "xml:base='file:///{dir}/sub/'>"
         "<location>list.m3u</location><trackList><track><location>b.mp3</location></track>"
         "<track xml:base='../'><location>My%20Song.mp3</location><location>a.mp3</location>"
         "</track><track><location>\n <![CDATA[{root}/a.mp3]]></location></track></trackList>"
         "</playlist>",
         {"b.mp3", "My Song.mp3", "a.mp3"},
         ""},
        {"XSPF that is not well-formed: the tracks before the fault",
         "list.xspf",
         "<playlist><trackList><track><location>a.mp3</location></track>\n"
         "<track><location>sub/b.mp3</location></trackList></playlist>",
         {"a.mp3", "b.mp3"},
         "Could not read all of {file}: not well-formed XML (line 2, column 50)\nAdded 2 entries."},
        {"XML with a document type definition",
         "list.wpl",
         "<?xml version='1.0'?>\n<!DOCTYPE smil [<!ENTITY a 'a.mp3'>]><smil><media "
         "src='&a;'/></smil>",
         {},
         "Could not read all of {file}: a document type definition, which is not read (line 2, "
         "column 1)\nAdded 0 entries."},
        {"XML nested deeper than any playlist",
         "list.wpl",
         "<smil><media src='a.mp3'/>" + lines("<seq>", 70),
         {"a.mp3"},
         "Could not read all of {file}: nested deeper than any playlist (line 64, column 2)\n"
         "Added 1 entry."},
        {"XML larger than any playlist",
         "list.xspf",
         "<playlist><trackList><track><location>a.mp3</location></track><track title='" +
             std::string(65 << 20, 'x') + "'/></trackList></playlist>",
         {"a.mp3"},
         "Could not read all of {file}: larger than any playlist (64 MB)\nAdded 1 entry."},
        {"XML of another kind",
         "list.wpl",
         "<html><body><media src='a.mp3'/></body></html>",
         {},
         "Added 0 entries, skipped 1 (1 not a playlist)."},
        {"WPL in UTF-16, entities",
         "list.wpl",
         Utf16(L"<?wpl version='1.0'?><smil><body><seq><media src='a.mp3'/><MEDIA "
               L"SRC='My&#32;Song.mp3'"
               L"/><media src=\"sub\\..\\caf\u00E9.mp3\"/><media/></seq></body></smil>",
               false),
         {"a.mp3", "My Song.mp3", kCafe},
         ""},
        {"ASX read loosely: any case, unquoted and unclosed, comments, stand-ins",
         "list.asx",
         "<ASX version=\"3.0\"><Entry><REF HREF=\"a.mp3\"/>\n<ref\n href='sub/b.mp3'/></entry>"
         "<!-- <ref href=\"x.mp3\"> \n > -->\n<entry><ref href=My%20Song.mp3></ENTRY>"
         "<EntryRef href = \"inner.wvx\" /><ref href=\"sub/b.mp3></asx>",
         {"a.mp3", "My Song.mp3", "b.mp3"},
         "Added 3 entries, skipped 1 (1 not valid text).",
         {{"inner.wvx", "<asx><entry><ref href=\"file:///{dir}/sub/b.mp3\"/></entry></asx>"}}},
        {"i.m3u8 named twice, read once; 65,002 entries of the list and 533 of it reach the cap",
         "list.m3u8",
         "i.m3u8\ni.m3u8\n" + lines("missing.mp3", 65000),
         {"a.mp3", "a.mp3"},
         "Added 2 entries, skipped 66000 (65532 not found, 468 past the 65535-entry limit).",
         {{"i.m3u8", "a.mp3\n" + lines("missing.mp3", 1000)}}},
        // Were b.m3u8 read for each line, these would take 5 and 50 minutes, past ctest's 300 s.
        {"1,000 x 10,000", "a.m3u8", lines("b.m3u8", 1000), {}, kNone, {{"b.m3u8", missing}}},
        {"10,000 x 10,000", "a.m3u8", lines("b.m3u8", 10000), {}, kNone, {{"b.m3u8", missing}}},
    };
    std::string dir = Replace(folder.Path(), "\\", "/");
    auto expand = [&](const std::string& text) {
        return Replace(Replace(text, "{dir}", dir), "{root}", dir.substr(2));
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& other : c.others)
            folder.CreateFile(other.first, expand(other.second));
        ImportContext context;
        context.nLegacyCodePage = c.nLegacyCodePage;
        ImportResult result;
        EXPECT_EQ(Read(c.file, expand(c.content), &result, context), c.added);
        EXPECT_EQ(std::string(DescribeImport(result)),
                  Replace(c.message, "{file}", folder.PathOf(c.file)));
    }
}

int nLookupsOnNas;
bool bDiskBoxes;  // a lookup could have brought up the system's box about a missing disk
// nas does not answer; every other computer has every file.
DWORD WINAPI LookUpWithNasAway(LPCWSTR lpszPath) {
    bDiskBoxes |= !(::GetThreadErrorMode() & SEM_FAILCRITICALERRORS);
    if (_wcsnicmp(lpszPath, L"\\\\nas\\", 6) == 0) {
        ++nLookupsOnNas;
        ::SetLastError(ERROR_BAD_NETPATH);
        return INVALID_FILE_ATTRIBUTES;
    }
    return _wcsnicmp(lpszPath, L"\\\\", 2) == 0 ? FILE_ATTRIBUTE_NORMAL
                                                : ::GetFileAttributesW(lpszPath);
}

// Each computer is asked about once, in one question per playlist that names a few and counts
// the rest; No looks nowhere, and a computer that did not answer is not looked on again.
TEST_F(M3u, EntriesOnOtherComputersWaitForTheUsersLeave) {
    ImportContext context;
    context.pfnGetAttributes = LookUpWithNasAway;
    folder.CreateFile("inner.m3u8", "\\\\nas\\music\\w.mp3\n\\\\other\\s\\v.mp3\n\\\\c3\\s\\v.mp3\n"
                                    "//c4/s/v.mp3\nfile://c5/s/v.mp3\n\\\\\\nas\\music\\u.mp3\n");
    for (bool bYes : {false, true}) {
        SCOPED_TRACE(bYes ? "Yes" : "No");
        std::vector<std::string> questions;
        context.ask = [&](const CString& question) {
            questions.push_back(static_cast<LPCSTR>(question));
            return bYes;
        };
        nLookupsOnNas = 0;
        bDiskBoxes = false;
        ImportResult result;
        Names added = Read("list.m3u8",
                           "\\\\nas\\music\\x.mp3\nfile://host/share/y.mp3\na.mp3\n"
                           "//NAS/music/z.mp3\ninner.m3u8",
                           &result, context);
        EXPECT_EQ(
            questions,
            (std::vector<std::string>{
                "This playlist names files on other computers: nas, host. Look for them "
                "there?",
                "This playlist names files on other computers: other, c3, c4 and 1 more. Look "
                "for them there?"}));
        EXPECT_EQ(nLookupsOnNas, bYes ? 1 : 0);
        EXPECT_FALSE(bDiskBoxes);
        EXPECT_EQ(added, bYes ? (Names{"y.mp3", "a.mp3", "v.mp3", "v.mp3", "v.mp3", "v.mp3"})
                              : Names{"a.mp3"});
        EXPECT_STREQ(DescribeImport(result),
                     bYes ? "Added 6 entries, skipped 4 (1 not valid text, 3 computer not "
                            "reachable)."
                          : "Added 1 entry, skipped 9 (1 not valid text, 8 on another computer).");
    }
}

std::string Resource(const char* name) {
    const HRSRC hInfo = ::FindResourceA(nullptr, name, RT_RCDATA);
    const HGLOBAL hData = hInfo ? ::LoadResource(nullptr, hInfo) : nullptr;
    return hData ? std::string(static_cast<const char*>(::LockResource(hData)),
                               ::SizeofResource(nullptr, hInfo))
                 : std::string();
}

// Files made for one case, in folders made for them; gone again, folders too, at its end.
class CaseFiles {
public:
    CaseFiles(const test::TempFolder& folder, const Names& names) {
        for (const std::string& name : names) {
            for (size_t nSlash = name.find('\\'); nSlash != std::string::npos;
                 nSlash = name.find('\\', nSlash + 1)) {
                if (::CreateDirectoryA(folder.PathOf(name.substr(0, nSlash)).c_str(), nullptr))
                    m_folders.push_back(folder.PathOf(name.substr(0, nSlash)));
            }
            m_files.push_back(folder.CreateFile(name, "x"));
        }
    }
    ~CaseFiles() {
        for (const std::string& file : m_files)
            ::DeleteFileA(file.c_str());
        for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it)
            ::RemoveDirectoryA(it->c_str());
    }

private:
    std::vector<std::string> m_files, m_folders;
};

// Playlists that other programs wrote (Samples.rc says where from), with some of the files
// they name made where they look for them.
TEST_F(M3u, PlaylistsThatOtherProgramsWroteGiveTheirRows) {
    struct Sample {
        const char* resource;
        const char* file;       // written as this in the test's folder
        const char* elsewhere;  // a folder it names, which stands for the test's folder
        Names made;             // the files made
        Names added;
        const char* message;
    };
    const char kPlatz[] = "Pl\xC3\xA4tz 10.mp3";
    const char kPlatzMore[] = "Pl\xC3\xA4tz\xCE\x86\xCE\xBD\xCF\x84\xE8\xA6\x9A 10.mp3";
    const char kTitle[] = "01 - Title Screen_pic.mp3";
    const Sample samples[] = {
        {"LIZZY_TEST01_WPL",
         "test01.wpl",
         nullptr,
         {"expo2008\\edyoh_def.wmv", "expo2008\\chorale.wmv",
          "expo2008\\Tina,  Antoine et le talisman_0001bis.wmv"},
         {"edyoh_def.wmv", "chorale.wmv", "Tina,  Antoine et le talisman_0001bis.wmv"},
         "Added 3 entries, skipped 7 (7 not found)."},
        {"LIZZY_TEST04_WPL", "test04.wpl", nullptr, {}, {}, "Added 0 entries."},
        {"PLAYLISTSNET_PLAYLIST_ZPL",
         "Playlist.zpl",
         "D:\\Muzyka\\Eurowizja\\Eurowizja 2014",
         {"Can-linn & Kasey Smith - Heartbeat(Irlandia).mp3", "Elaiza - Is It Right.mp3"},
         {"Can-linn & Kasey Smith - Heartbeat(Irlandia).mp3", "Elaiza - Is It Right.mp3"},
         ""},
        {"AMAROK_TEST2_XSPF",
         "sub\\test2.xspf",
         nullptr,
         {std::string("audio\\") + kPlatz},
         {kPlatz},
         "Added 1 entry, skipped 23 (23 web address)."},
        {"ATL_PLAYLIST_XSPF",
         "playlist.xspf",
         "$PATH",
         {"MP4\\mp4.m4a", std::string("MP3\\") + kTitle, "OGG\\empty.ogg"},
         {"mp4.m4a", kTitle, "empty.ogg"},
         "Added 3 entries, skipped 2 (1 not a media file, 1 web address)."},
        {"AMAROK_TEST2_PLS",
         "sub\\test2.pls",
         nullptr,
         {std::string("audio\\") + kPlatzMore},
         {kPlatzMore},
         "Added 1 entry, skipped 4 (4 web address)."},
        {"ATL_PLAYLIST_PLS",
         "playlist.pls",
         "$PATH",
         {"MP3\\empty.mp3", "OGG\\empty.ogg"},
         {"empty.mp3", "empty.ogg"},
         "Added 2 entries, skipped 3 (2 not a media file, 1 web address)."},
        {"AMAROK_TEST_ASX",
         "test.asx",
         nullptr,
         {},
         {},
         "Added 0 entries, skipped 1 (1 web address)."},
        {"LIZZY_REPEAT_ASX", "repeat.asx", nullptr, {"Butterfly.wmv"}, {"Butterfly.wmv"}, ""},
        {"LIZZY_TEST01_WAX",
         "test01.wax",
         nullptr,
         {},
         {},
         "Added 0 entries, skipped 2 (2 web address)."},
        {"ATL_PLAYLIST_ASX",
         "playlist.asx",
         "$PATH",
         {"FLAC\\empty.flac", std::string("MP3\\") + kTitle},
         {"empty.flac", kTitle},
         "Added 2 entries, skipped 3 (1 not found, 1 not a media file, 1 web address)."},
    };
    const std::string dir = Replace(folder.Path(), "\\", "/");
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.resource);
        const CaseFiles files(folder, sample.made);
        std::string content = Resource(sample.resource);
        ASSERT_FALSE(content.empty());
        ImportResult result;
        EXPECT_EQ(Read(sample.file,
                       sample.elsewhere ? Replace(content, sample.elsewhere, dir) : content,
                       &result),
                  sample.added);
        EXPECT_STREQ(DescribeImport(result), sample.message);
    }
}

// A playlist reached under its 8.3 name is the one reached under its long name: read once,
// and a loop when it names itself so.
TEST_F(M3u, APlaylistUnderItsShortNameIsReadOnce) {
    const std::string longPath = folder.CreateFile("Playlist of songs.m3u8", "");
    char shortPath[MAX_PATH] = "";
    ASSERT_GT(::GetShortPathNameA(longPath.c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_STRNE(shortPath, longPath.c_str());
    folder.CreateFile("Playlist of songs.m3u8", std::string("a.mp3\n") + shortPath);
    ImportResult result;
    EXPECT_EQ(Read("list.m3u8", longPath + "\n" + shortPath, &result), (Names{"a.mp3", "a.mp3"}));
    EXPECT_STREQ(DescribeImport(result), "Added 2 entries, skipped 1 (1 playlist loop).");
}

TEST_F(M3u, AFileThatCannotBeOpenedIsNamedInTheMessage) {
    std::string path = folder.PathOf("absent.m3u");
    ImportResult result =
        ImportPaths({AnsiToWide(path.c_str())}, PathSource::kPlaylist, ImportContext());
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
    std::vector<CString> paths;
    std::string lines = "#EXTM3U\r\n";
    for (const char* name : {"a.mp3", kCafe, "sub\\b.mp3", kNihon, kTamilA}) {
        paths.push_back(folder.PathOf(name).c_str());
        lines += folder.PathOf(name) + "\r\n";
    }
    for (const char* name : {"saved.m3u8", "saved.m3u"}) {
        SCOPED_TRACE(name);
        std::string path = folder.PathOf(name);
        ASSERT_EQ(WriteM3uPlaylist(path.c_str(), paths), 0u);
        // .m3u carries the mark, else a reader would take it for ANSI.
        std::string bom = std::string(name).back() == '8' ? "" : "\xEF\xBB\xBF";
        EXPECT_EQ(test::TempFolder::ReadFile(path), bom + lines);
        ImportResult result =
            ImportPaths({AnsiToWide(path.c_str())}, PathSource::kPlaylist, ImportContext());
        EXPECT_EQ(result.paths, paths);
        EXPECT_STREQ(DescribeImport(result), "");
    }
}

TEST_F(M3u, TaggedRowsGetTheLineThatPlayersShow) {
    const std::vector<CString> paths = {"C:\\a.mp3", "C:\\b.mp3", "C:\\c.mp3"};
    // A tag's line break must not end the line: what follows it would be read as an entry.
    const std::vector<M3uInfo> infos = {{215, L"Ann - Caf\u00e9"}, {}, {-1, L"X\r\nC:\\evil.exe"}};
    const std::string path = folder.PathOf("tagged.m3u8");
    ASSERT_EQ(WriteM3uPlaylist(path.c_str(), paths, infos), 0u);
    EXPECT_EQ(test::TempFolder::ReadFile(path),
              "#EXTM3U\r\n#EXTINF:215,Ann - Caf\xC3\xA9\r\nC:\\a.mp3\r\nC:\\b.mp3\r\n"
              "#EXTINF:-1,X  C:\\evil.exe\r\nC:\\c.mp3\r\n");
}

// As Explorer shows a folder by name: subfolders first, digits as numbers, case ignored.
TEST_F(M3u, ADroppedFolderComesInExplorersOrder) {
    for (const char* sub : {"drop", "drop\\Disc 9", "drop\\Disc 10"})
        ::CreateDirectoryA(folder.PathOf(sub).c_str(), nullptr);
    for (const char* name : {"Track 10.mp3", "track 2.mp3", "Track 1.mp3", "Disc 10\\a.mp3",
                             "Disc 9\\b.mp3", "Disc 9\\c.mp3"})
        folder.CreateFile(std::string("drop\\") + name, "x");
    const ImportResult result = ImportPaths({AnsiToWide(folder.PathOf("drop").c_str())},
                                            PathSource::kDropped, ImportContext());
    Names names;
    for (const CString& added : result.paths)
        names.push_back(static_cast<LPCSTR>(FileNameOfPath(added)));
    EXPECT_EQ(names,
              (Names{"b.mp3", "c.mp3", "a.mp3", "Track 1.mp3", "track 2.mp3", "Track 10.mp3"}));
    for (const char* sub : {"drop\\Disc 9", "drop\\Disc 10", "drop"})
        test::TempFolder::RemoveContents(folder.PathOf(sub));
}

}  // namespace
