#include "import/PlaylistFile.h"

#include "import/MediaFiles.h"
#include "import/PlaylistFormats.h"
#include "import/PlaylistText.h"

#include <algorithm>
#include <cstring>

namespace {

// Enough of the start to see past an XML declaration and comments to the first element.
const DWORD kHeadBytes = 1 << 16;
const char kBlanks[] = " \t\r\n";

enum class Kind { kM3u, kPls, kXml, kAsx, kUnknown };

// The file's first bytes as 8-bit text in which the ASCII of the markup stands as itself:
// UTF-16 is narrowed, any other character is a byte or '?'.
std::string HeadAsAscii(const std::string& head) {
    const bool bLittle = head.compare(0, 2, "\xFF\xFE") == 0;
    if (!bLittle && head.compare(0, 2, "\xFE\xFF") != 0)
        return head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? head.substr(3) : head;
    std::string text;
    for (size_t i = 2; i + 1 < head.size(); i += 2) {
        const char low = head[bLittle ? i : i + 1], high = head[bLittle ? i + 1 : i];
        text += high == 0 ? low : '?';
    }
    return text;
}

bool SameAsciiNoCase(const std::string& a, const char* b) {
    return a.size() == std::strlen(b) &&
           ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                            b, -1) == CSTR_EQUAL;
}

// The kind that the text starts with: markup is XML, ASX when its first element says so; a
// [playlist] line makes PLS (some writers put a line before it); #EXTM3U makes M3U.
Kind KindOfHead(const std::string& text) {
    size_t i = text.find_first_not_of(kBlanks);
    if (i != std::string::npos && text[i] == '<') {
        // Past declarations, processing instructions and comments to the first element.
        while (text.compare(i, 2, "<?") == 0 || text.compare(i, 2, "<!") == 0) {
            const char* end = text.compare(i, 4, "<!--") == 0 ? "-->"
                              : text[i + 1] == '?'            ? "?>"
                                                              : ">";
            const size_t nEnd = text.find(end, i);
            if (nEnd == std::string::npos)
                return Kind::kXml;
            i = text.find_first_not_of(kBlanks, nEnd + std::strlen(end));
        }
        if (i == std::string::npos || text[i] != '<')
            return Kind::kXml;
        const size_t nName = i + 1;
        const std::string name = text.substr(nName, text.find_first_of(" \t\r\n/>", nName) - nName);
        return SameAsciiNoCase(name, "asx") ? Kind::kAsx : Kind::kXml;
    }
    for (size_t nLine = 0; nLine < text.size();) {
        const size_t nEnd = std::min(text.find_first_of("\r\n", nLine), text.size());
        std::string line = text.substr(nLine, nEnd - nLine);
        const size_t nFirst = line.find_first_not_of(" \t");
        if (nFirst != std::string::npos &&
            SameAsciiNoCase(line.substr(nFirst, line.find_last_not_of(" \t") + 1 - nFirst),
                            "[playlist]"))
            return Kind::kPls;
        nLine = nEnd + 1;
    }
    return text.compare(0, 7, "#EXTM3U") == 0 ? Kind::kM3u : Kind::kUnknown;
}

DWORD ReadM3uEntries(HANDLE hFile, const PlaylistEncoding& encoding, const EntrySink& onEntry) {
    return ReadEntryLines(hFile, encoding, TextCut::kLines,
                          [&](EntryLine line, const std::wstring& text) {
                              onEntry(line == EntryLine::kText      ? EntryText::kPath
                                      : line == EntryLine::kTooLong ? EntryText::kTooLong
                                                                    : EntryText::kInvalid,
                                      text);
                          });
}

}  // namespace

PlaylistReading ReadPlaylistFile(HANDLE hFile, const std::wstring& path, UINT nLegacyCodePage,
                                 const EntrySink& onEntry) {
    std::string head(kHeadBytes, '\0');
    DWORD nRead = 0;
    if (!::ReadFile(hFile, &head[0], kHeadBytes, &nRead, nullptr) ||
        ::SetFilePointer(hFile, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return {true, SystemErrorText(::GetLastError())};
    head.resize(nRead);
    Kind kind = KindOfHead(HeadAsAscii(head));
    if (kind == Kind::kUnknown) {
        if (IsPlaylistFileName(path) && !IsM3uFileName(path))
            return {false, CString()};
        kind = Kind::kM3u;
    }
    if (kind == Kind::kXml)
        return ReadXmlEntries(hFile, onEntry);
    PlaylistEncoding encoding;
    encoding.bUtf8 = IsUtf8PlaylistName(path);
    encoding.nCodePage = nLegacyCodePage;
    const DWORD dwError = kind == Kind::kPls   ? ReadPlsEntries(hFile, encoding, onEntry)
                          : kind == Kind::kAsx ? ReadAsxEntries(hFile, encoding, onEntry)
                                               : ReadM3uEntries(hFile, encoding, onEntry);
    return {true, dwError ? SystemErrorText(dwError) : CString()};
}

bool SameNameNoCase(const std::wstring& name, const wchar_t* expected) {
    return ::CompareStringOrdinal(name.c_str(), static_cast<int>(name.size()), expected, -1,
                                  TRUE) == CSTR_EQUAL;
}

void TakeEntryText(EntryText kind, const std::wstring& text, const EntrySink& onEntry) {
    const size_t nFirst = text.find_first_not_of(L" \t\r\n");
    if (nFirst == std::wstring::npos)
        return;
    const std::wstring entry = text.substr(nFirst, text.find_last_not_of(L" \t\r\n") + 1 - nFirst);
    if (entry.size() > kMaxEntryUnits)
        onEntry(EntryText::kTooLong, std::wstring());
    else if (!IsPlainText(entry))
        onEntry(EntryText::kInvalid, std::wstring());
    else
        onEntry(kind, entry);
}
