#include "import/MediaFiles.h"

#include <windows.h>

const char kMediaFilter[] =
    "Media files files|*.jpg;*.jpeg;*.bmp;*.mp3;*.wma;*.ogg;*.flac;*.aac;*.pmp;*.mkv;*.avi;*.ts;"
    "*.tp;*.mp4;*.mov;*.vob;*.mpg;*.m2ts;*.flv;*.wmv; *.rm;*.rmvb;*.mpeg;*.mpeg4;*.h.264|All "
    "Files(*.*)|*.*||";

namespace {

// What players play and players' makers sell: songs, then videos, then pictures.
const wchar_t* const kMediaExtensions[] = {
    L".mp3",   L".m4a",   L".m4b",  L".aac",  L".wma",  L".ogg", L".oga", L".opus", L".flac",
    L".wav",   L".aif",   L".aiff", L".ape",  L".wv",   L".mpc", L".mka", L".ac3",  L".amr",
    L".mp4",   L".m4v",   L".mkv",  L".webm", L".avi",  L".mov", L".wmv", L".flv",  L".mpg",
    L".mpeg",  L".mpeg4", L".ts",   L".tp",   L".m2ts", L".vob", L".3gp", L".rm",   L".rmvb",
    L".h.264", L".pmp",   L".jpg",  L".jpeg", L".png",  L".gif", L".bmp", L".webp"};

// What the shell runs, or follows to something it runs, when the file is opened.
const wchar_t* const kProgramExtensions[] = {L".exe", L".com", L".bat", L".cmd", L".lnk", L".url",
                                             L".scr", L".pif", L".msi", L".vbs", L".js",  L".ps1",
                                             L".hta", L".reg", L".cpl", L".jar"};

// The ones read as lines come first: the Open dialog lists them first.
const wchar_t* const kPlaylistExtensions[] = {L".m3u8", L".m3u", L".pls", L".wpl", L".zpl",
                                              L".xspf", L".asx", L".wax", L".wvx"};

bool EndsWithNoCase(const std::wstring& name, const wchar_t* suffix) {
    const size_t nSuffix = static_cast<size_t>(::lstrlenW(suffix));
    return name.size() > nSuffix &&
           ::CompareStringOrdinal(name.c_str() + name.size() - nSuffix, static_cast<int>(nSuffix),
                                  suffix, static_cast<int>(nSuffix), TRUE) == CSTR_EQUAL;
}

template <size_t N>
bool EndsWithAny(const std::wstring& name, const wchar_t* const (&suffixes)[N]) {
    for (const wchar_t* suffix : suffixes) {
        if (EndsWithNoCase(name, suffix))
            return true;
    }
    return false;
}

}  // namespace

bool IsMediaFileName(const std::wstring& name) { return EndsWithAny(name, kMediaExtensions); }

bool IsProgramFileName(const std::wstring& name) {
    const size_t nEnd = name.find_last_not_of(L". ");
    return nEnd != std::wstring::npos && EndsWithAny(name.substr(0, nEnd + 1), kProgramExtensions);
}

bool IsPlaylistFileName(const std::wstring& name) { return EndsWithAny(name, kPlaylistExtensions); }

bool IsM3uFileName(const std::wstring& name) {
    return EndsWithNoCase(name, L".m3u") || EndsWithNoCase(name, L".m3u8");
}

bool IsUtf8PlaylistName(const std::wstring& name) { return EndsWithNoCase(name, L".m3u8"); }

const char* PlaylistFilter() {
    // The kinds by name: nine patterns would not fit the dialog's box.
    static const std::string filter = [] {
        std::string patterns;
        for (const wchar_t* extension : kPlaylistExtensions) {
            patterns += patterns.empty() ? "*" : ";*";
            for (const wchar_t* p = extension; *p; ++p)
                patterns += static_cast<char>(*p);  // ASCII, all of them
        }
        return "Playlists (M3U, PLS, WPL, ZPL, XSPF, ASX)|" + patterns + "|All Files(*.*)|*.*||";
    }();
    return filter.c_str();
}
