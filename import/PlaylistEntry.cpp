#include "import/PlaylistEntry.h"

#include "framework/String.h"
#include "import/ImportResult.h"

#include <algorithm>

namespace {

// Addresses that players stream from; a file of such a name cannot be copied.
const wchar_t* const kWebSchemes[] = {L"http", L"https", L"rtsp", L"rtmp", L"rtp", L"udp", L"mms"};

// The longest name the domain name system allows; a longer one names no computer.
const size_t kMaxHostName = 253;

const PlaylistEntry kInvalidEntry = {PlaylistEntry::Kind::kInvalid, std::wstring()};

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    const int nPrefix = ::lstrlenW(prefix);
    return text.size() >= static_cast<size_t>(nPrefix) &&
           ::CompareStringOrdinal(text.c_str(), nPrefix, prefix, nPrefix, TRUE) == CSTR_EQUAL;
}

bool IsAsciiLetter(wchar_t ch) { return (ch | 0x20) >= L'a' && (ch | 0x20) <= L'z'; }

// The length of the scheme that starts text and ends with its colon ("file" in file:x), or 0.
// One letter before the colon is a drive.
size_t SchemeLength(const std::wstring& text) {
    if (text.empty() || !IsAsciiLetter(text[0]))
        return 0;
    size_t n = 1;
    while (n < text.size() && (IsAsciiLetter(text[n]) || (text[n] >= L'0' && text[n] <= L'9') ||
                               text[n] == L'+' || text[n] == L'-' || text[n] == L'.'))
        ++n;
    return n >= 2 && n < text.size() && text[n] == L':' ? n : 0;
}

bool IsWebAddress(const std::wstring& text) {
    const size_t nColon = text.find(L"://");
    if (nColon == std::wstring::npos)
        return false;
    for (const wchar_t* scheme : kWebSchemes) {
        if (static_cast<size_t>(::lstrlenW(scheme)) == nColon && StartsWithNoCase(text, scheme))
            return true;
    }
    return false;
}

int HexValue(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if ((ch | 0x20) >= 'a' && (ch | 0x20) <= 'f')
        return (ch | 0x20) - 'a' + 10;
    return -1;
}

// %XX sequences as the bytes of UTF-8 text; false when the result is no valid UTF-8. A '%'
// that starts no sequence stands for itself.
bool PercentDecode(const std::wstring& text, std::wstring* pDecoded) {
    CString converted;
    if (!WideToAnsi(text, &converted, CP_UTF8))
        return false;
    const std::string utf8(converted, static_cast<size_t>(converted.GetLength()));
    std::string bytes;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '%' && i + 2 < utf8.size() && HexValue(utf8[i + 1]) >= 0 &&
            HexValue(utf8[i + 2]) >= 0) {
            bytes += static_cast<char>(HexValue(utf8[i + 1]) << 4 | HexValue(utf8[i + 2]));
            i += 2;
        } else {
            bytes += utf8[i];
        }
    }
    pDecoded->clear();
    if (bytes.empty())
        return true;
    const int nBytesIn = static_cast<int>(bytes.size());
    const int nWide =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), nBytesIn, nullptr, 0);
    if (nWide <= 0)
        return false;
    pDecoded->resize(nWide);
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), nBytesIn, &(*pDecoded)[0],
                          nWide);
    return true;
}

void UseBackslashes(std::wstring* pPath) {
    std::replace(pPath->begin(), pPath->end(), L'/', L'\\');
}

// C: or C|, as older writers put it.
bool IsDriveText(wchar_t letter, wchar_t colon) {
    return IsAsciiLetter(letter) && (colon == L':' || colon == L'|');
}

// What may stand as a computer's name: ASCII letters, digits, '-', '_' and '.', of which an
// IPv4 address is made too, or an IPv6 address in brackets. Nothing else is shown in the
// question about other computers: a name of any text could pass for the program's own words.
bool IsHostName(const std::wstring& host) {
    if (host.empty() || host.size() > kMaxHostName)
        return false;
    if (host.size() > 2 && host.front() == L'[' && host.back() == L']')
        return host.find_first_not_of(L"0123456789ABCDEFabcdef:.", 1) == host.size() - 1;
    return std::all_of(host.begin(), host.end(), [](wchar_t ch) {
        return (ch >= L'0' && ch <= L'9') || IsAsciiLetter(ch) || ch == L'-' || ch == L'_' ||
               ch == L'.';
    });
}

// Whether the computer that a path names, if any, can be read with certainty: \\\x names
// none that anyone could be asked about, and is not looked up either.
bool NamesItsComputerClearly(const std::wstring& path) {
    return path.compare(0, 2, L"\\\\") != 0 || IsDevicePath(path) ||
           IsHostName(ComputerOfPath(path));
}

// file:[//host]/path as a path: \\host\path for another computer, C:\x for a drive, \x for
// the playlist's drive. False for text that is not a valid address.
bool FileAddressToPath(const std::wstring& address, std::wstring* pPath) {
    std::wstring rest = address.substr(5);  // after "file:"
    std::wstring host;
    if (rest.compare(0, 2, L"//") == 0) {
        const size_t nSlash = rest.find(L'/', 2);
        host = rest.substr(2, nSlash == std::wstring::npos ? std::wstring::npos : nSlash - 2);
        rest = nSlash == std::wstring::npos ? std::wstring() : rest.substr(nSlash);
    }
    std::wstring path;
    if (!PercentDecode(host, &host) || !PercentDecode(rest, &path))
        return false;
    UseBackslashes(&path);
    // file://C:/x, as many programs write it: the drive where the computer would stand.
    if (host.size() == 2 && IsDriveText(host[0], host[1])) {
        path = std::wstring{host[0], L':'} + path;
        host.clear();
    }
    if (::lstrcmpiW(host.c_str(), L"localhost") == 0)
        host.clear();
    // \C:\x: a drive. Another computer's drives have no such names (\\srv\C:\x names none).
    if (path.size() >= 3 && path[0] == L'\\' && IsDriveText(path[1], path[2])) {
        if (!host.empty())
            return false;
        path = std::wstring{path[1], L':'} + path.substr(3);
    }
    *pPath = host.empty() ? path : L"\\\\" + host + path;
    return !pPath->empty();
}

// A path from a playlist made absolute (see ParseEntry), ".." and "." worked out.
PlaylistEntry PathEntry(const std::wstring& path, const std::wstring& playlistPath) {
    if (path.empty() || !IsPlainText(path))
        return kInvalidEntry;
    std::wstring joined;
    if (path.compare(0, 2, L"\\\\") == 0 || (path.size() > 2 && path.compare(1, 2, L":\\") == 0))
        joined = path;
    else if (path.size() >= 2 && path[1] == L':')
        joined = JoinPath(path.substr(0, 2), path.substr(2));
    else if (path[0] == L'\\')
        joined = DriveOfPath(playlistPath) + path;
    else
        joined = JoinPath(FolderOfPath(playlistPath), path);
    // Checked as written and as the system reads it: the question names the computer that
    // is then looked on.
    if (!NamesItsComputerClearly(joined))
        return kInvalidEntry;
    std::wstring full = FullPath(joined);
    if (!NamesItsComputerClearly(full))
        return kInvalidEntry;
    return {PlaylistEntry::Kind::kPath, std::move(full)};
}

}  // namespace

PlaylistEntry ParseEntry(const std::wstring& text, const std::wstring& playlistPath) {
    if (IsWebAddress(text))
        return {PlaylistEntry::Kind::kWebAddress, std::wstring()};
    std::wstring path = text;
    if (StartsWithNoCase(text, L"file:")) {
        if (!FileAddressToPath(text, &path))
            return kInvalidEntry;
    } else {
        UseBackslashes(&path);
    }
    return PathEntry(path, playlistPath);
}

PlaylistEntry ParseReference(const std::wstring& reference, const std::wstring& playlistPath) {
    if (SchemeLength(reference) > 0)
        return ParseEntry(reference, playlistPath);
    std::wstring path;
    if (!PercentDecode(reference, &path))
        return kInvalidEntry;
    UseBackslashes(&path);
    return PathEntry(path, playlistPath);
}

std::wstring ResolveReference(const std::wstring& base, const std::wstring& reference) {
    // Paths that some writers put where a reference belongs stand on their own too.
    const bool bWindowsPath = reference.compare(0, 1, L"\\") == 0 ||
                              (reference.size() >= 2 && IsDriveText(reference[0], reference[1]));
    if (base.empty() || SchemeLength(reference) > 0 || bWindowsPath)
        return reference;
    const size_t nScheme = SchemeLength(base);
    if (reference.compare(0, 1, L"/") == 0) {
        if (nScheme == 0)
            return reference;
        // //computer/x takes the base's scheme; /x its computer too, which follows its "//".
        if (reference.compare(0, 2, L"//") == 0 || base.compare(nScheme + 1, 2, L"//") != 0)
            return base.substr(0, nScheme + 1) + reference;
        const size_t nPath = base.find(L'/', nScheme + 3);
        return base.substr(0, nPath == std::wstring::npos ? base.size() : nPath) + reference;
    }
    const size_t nSlash = base.find_last_of(L'/');
    return (nSlash == std::wstring::npos ? std::wstring() : base.substr(0, nSlash + 1)) + reference;
}
