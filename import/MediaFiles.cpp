#include "import/MediaFiles.h"

#include <windows.h>

#include <vector>

const char kMediaFilter[] =
    "Media files files|*.jpg;*.jpeg;*.bmp;*.mp3;*.wma;*.ogg;*.flac;*.aac;*.pmp;*.mkv;*.avi;*.ts;"
    "*.tp;*.mp4;*.mov;*.vob;*.mpg;*.m2ts;*.flv;*.wmv; *.rm;*.rmvb;*.mpeg;*.mpeg4;*.h.264|All "
    "Files(*.*)|*.*||";

namespace {

bool EndsWithNoCase(const std::wstring& name, const std::wstring& suffix) {
    return name.size() > suffix.size() &&
           ::CompareStringOrdinal(name.c_str() + name.size() - suffix.size(),
                                  static_cast<int>(suffix.size()), suffix.c_str(),
                                  static_cast<int>(suffix.size()), TRUE) == CSTR_EQUAL;
}

// The suffixes of the filter's first entry: each pattern without its '*', blanks dropped.
std::vector<std::wstring> MediaSuffixes() {
    std::vector<std::wstring> suffixes;
    const char* p = kMediaFilter;
    while (*p && *p != '|')
        ++p;
    std::wstring pattern;
    for (++p; *p; ++p) {
        if (*p == ';' || *p == '|') {
            if (pattern.size() > 1 && pattern[0] == L'*')
                suffixes.push_back(pattern.substr(1));
            pattern.clear();
            if (*p == '|')
                break;
        } else if (*p != ' ') {
            pattern += static_cast<wchar_t>(*p);
        }
    }
    return suffixes;
}

}  // namespace

bool IsMediaFileName(const std::wstring& name) {
    static const std::vector<std::wstring> suffixes = MediaSuffixes();
    for (const std::wstring& suffix : suffixes) {
        if (EndsWithNoCase(name, suffix))
            return true;
    }
    return false;
}

bool IsPlaylistFileName(const std::wstring& name) {
    return EndsWithNoCase(name, L".m3u") || EndsWithNoCase(name, L".m3u8");
}

bool IsUtf8PlaylistName(const std::wstring& name) { return EndsWithNoCase(name, L".m3u8"); }
