#include "import/PlaylistEntry.h"

#include "framework/String.h"

#include <algorithm>

namespace {

// Addresses that players stream from; a file of such a name cannot be copied.
const wchar_t* const kWebSchemes[] = {L"http", L"https", L"rtsp", L"rtmp", L"rtp", L"udp", L"mms"};

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    const int nPrefix = ::lstrlenW(prefix);
    return text.size() >= static_cast<size_t>(nPrefix) &&
           ::CompareStringOrdinal(text.c_str(), nPrefix, prefix, nPrefix, TRUE) == CSTR_EQUAL;
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

// C: or C|, as older writers put it.
bool IsDriveText(wchar_t letter, wchar_t colon) {
    return ((letter | 0x20) >= L'a' && (letter | 0x20) <= L'z') && (colon == L':' || colon == L'|');
}

// What an address may name as its computer: ASCII letters, digits, '-' and '.', of which an
// IPv4 address is made too, or an IPv6 address in brackets. Nothing else is shown in the
// question about other computers: a name of any text could pass for the program's own words.
bool IsHostName(const std::wstring& host) {
    if (host.size() > 2 && host.front() == L'[' && host.back() == L']')
        return host.find_first_not_of(L"0123456789ABCDEFabcdef:.", 1) == host.size() - 1;
    return !host.empty() && std::all_of(host.begin(), host.end(), [](wchar_t ch) {
        return (ch >= L'0' && ch <= L'9') || ((ch | 0x20) >= L'a' && (ch | 0x20) <= L'z') ||
               ch == L'-' || ch == L'.';
    });
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
    for (wchar_t& ch : path) {
        if (ch < 0x20)
            return false;
        if (ch == L'/')
            ch = L'\\';
    }
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
    // The computer may also stand in the path itself, as file:////srv/share/x puts it.
    const std::wstring computer = ComputerOfPath(*pPath);
    return !pPath->empty() && (computer.empty() || IsHostName(computer));
}

// An entry made absolute (see ParseEntry), ".." and "." worked out.
std::wstring Resolve(const std::wstring& entry, const std::wstring& playlistPath) {
    std::wstring joined;
    if (entry.compare(0, 2, L"\\\\") == 0 || (entry.size() > 2 && entry.compare(1, 2, L":\\") == 0))
        joined = entry;
    else if (entry.size() >= 2 && entry[1] == L':')
        joined = JoinPath(entry.substr(0, 2), entry.substr(2));
    else if (entry[0] == L'\\')
        joined = DriveOfPath(playlistPath) + entry;
    else
        joined = JoinPath(FolderOfPath(playlistPath), entry);
    return FullPath(joined);
}

}  // namespace

PlaylistEntry ParseEntry(const std::wstring& text, const std::wstring& playlistPath) {
    if (IsWebAddress(text))
        return {PlaylistEntry::Kind::kWebAddress, std::wstring()};
    std::wstring path = text;
    if (StartsWithNoCase(text, L"file:")) {
        if (!FileAddressToPath(text, &path))
            return {PlaylistEntry::Kind::kInvalid, std::wstring()};
    } else {
        for (wchar_t& ch : path) {
            if (ch == L'/')
                ch = L'\\';
        }
    }
    return {PlaylistEntry::Kind::kPath, Resolve(path, playlistPath)};
}
