// What the program reads of a media file's tags, through TagLib: the fields it sorts by and
// what a saved playlist shows for the file.
#pragma once

#include <string>

struct TrackTags {
    std::wstring albumArtist;
    std::wstring artist;
    std::wstring album;
    std::wstring title;
    unsigned nDisc = 0;   // 0: none
    unsigned nTrack = 0;  // 0: none
    int nSeconds = -1;    // the length, rounded; -1: unknown
};

// Whether the file's kind, by its extension, is one whose tags can be read: MP3, FLAC, Ogg
// Vorbis, Opus, M4A/MP4, WMA/WMV and WAV.
bool HasReadableTags(const std::wstring& path);
// The file's tags; empty, with the length unknown, where the file has none, is not of a kind
// that HasReadableTags names, or cannot be read. Never writes to the file.
TrackTags ReadTrackTags(const std::wstring& path);
