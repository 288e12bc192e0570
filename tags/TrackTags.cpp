#include "tags/TrackTags.h"

#include "tags/BoundedFileStream.h"

#include <asffile.h>
#include <flacfile.h>
#include <id3v2framefactory.h>
#include <mp4file.h>
#include <mpegfile.h>
#include <opusfile.h>
#include <tpropertymap.h>
#include <vorbisfile.h>
#include <wavfile.h>

#include <memory>
#include <new>

namespace {

// Enough for tags with a large picture, and for the atoms of a long video in fragments; a tag
// beyond them is read as far as they go. TagLib makes a kilobyte of memory of every tag entry,
// and an entry takes a few bytes: 4 MiB of tiny entries cost it 300 MB and 4 s.
const unsigned long kReadBytes = 4UL << 20;
const unsigned long kReads = 65536;
// A number past this is no disc or track number but damage.
const unsigned kLargestNumber = 1000000;

enum class Kind { kNone, kMpeg, kFlac, kOgg, kOpus, kMp4, kAsf, kWav };

Kind KindOf(const std::wstring& path) {
    static const struct {
        const wchar_t* extension;
        Kind kind;
    } kKinds[] = {{L".mp3", Kind::kMpeg}, {L".flac", Kind::kFlac}, {L".ogg", Kind::kOgg},
                  {L".oga", Kind::kOgg},  {L".opus", Kind::kOpus}, {L".m4a", Kind::kMp4},
                  {L".m4b", Kind::kMp4},  {L".mp4", Kind::kMp4},   {L".wma", Kind::kAsf},
                  {L".wmv", Kind::kAsf},  {L".asf", Kind::kAsf},   {L".wav", Kind::kWav}};
    const size_t nDot = path.find_last_of(L".\\/");
    if (nDot == std::wstring::npos || path[nDot] != L'.')
        return Kind::kNone;
    const std::wstring extension = path.substr(nDot);
    for (const auto& entry : kKinds)
        if (::lstrcmpiW(extension.c_str(), entry.extension) == 0)
            return entry.kind;
    return Kind::kNone;
}

// The file as TagLib's class for its kind reads it, or nullptr when that class finds none.
std::unique_ptr<TagLib::File> Open(Kind kind, TagLib::IOStream* pStream) {
    std::unique_ptr<TagLib::File> file;
    auto* pFrames = TagLib::ID3v2::FrameFactory::instance();
    switch (kind) {
    case Kind::kMpeg:
        file = std::make_unique<TagLib::MPEG::File>(pStream, pFrames);
        break;
    case Kind::kFlac:
        file = std::make_unique<TagLib::FLAC::File>(pStream, pFrames);
        break;
    case Kind::kOgg:
        // An .ogg file may hold Opus as well.
        file = std::make_unique<TagLib::Ogg::Vorbis::File>(pStream);
        if (!file->isValid())
            file = std::make_unique<TagLib::Ogg::Opus::File>(pStream);
        break;
    case Kind::kOpus:
        file = std::make_unique<TagLib::Ogg::Opus::File>(pStream);
        break;
    case Kind::kMp4:
        file = std::make_unique<TagLib::MP4::File>(pStream);
        break;
    case Kind::kAsf:
        file = std::make_unique<TagLib::ASF::File>(pStream);
        break;
    case Kind::kWav:
        file = std::make_unique<TagLib::RIFF::WAV::File>(pStream);
        break;
    case Kind::kNone:
        break;
    }
    if (file && !file->isValid())
        file.reset();
    return file;
}

std::wstring First(const TagLib::PropertyMap& properties, const char* key) {
    const auto found = properties.find(key);
    return found == properties.end() || found->second.isEmpty() ? std::wstring()
                                                                : found->second.front().toWString();
}

// "3" and "3/12" are 3; anything else is no number.
unsigned NumberOf(const std::wstring& text) {
    unsigned nNumber = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        nNumber = nNumber * 10 + static_cast<unsigned>(text[i] - L'0');
        if (nNumber > kLargestNumber)
            return 0;
    }
    return i > 0 && (i == text.size() || text[i] == L'/') ? nNumber : 0;
}

// Fills *pTags from the file's tags and audio properties, where TagLib's class for its kind
// finds them.
void ReadFrom(Kind kind, TagLib::IOStream* pStream, TrackTags* pTags) {
    const std::unique_ptr<TagLib::File> file = Open(kind, pStream);
    if (!file)
        return;
    const TagLib::PropertyMap properties = file->properties();
    pTags->albumArtist = First(properties, "ALBUMARTIST");
    if (pTags->albumArtist.empty())
        pTags->albumArtist = First(properties, "ALBUM ARTIST");
    pTags->artist = First(properties, "ARTIST");
    pTags->album = First(properties, "ALBUM");
    pTags->title = First(properties, "TITLE");
    pTags->nDisc = NumberOf(First(properties, "DISCNUMBER"));
    pTags->nTrack = NumberOf(First(properties, "TRACKNUMBER"));
    if (const TagLib::AudioProperties* audio = file->audioProperties()) {
        const int nMilliseconds = audio->lengthInMilliseconds();
        if (nMilliseconds > 0)
            pTags->nSeconds = (nMilliseconds + 500) / 1000;
    }
}

}  // namespace

bool HasReadableTags(const std::wstring& path) { return KindOf(path) != Kind::kNone; }

TrackTags ReadTrackTags(const std::wstring& path) {
    TrackTags tags;
    const Kind kind = KindOf(path);
    if (kind == Kind::kNone)
        return tags;
    CBoundedFileStream stream(path, kReadBytes, kReads);
    if (!stream.isOpen())
        return tags;
    try {
        ReadFrom(kind, &stream, &tags);
    } catch (const std::bad_alloc&) {
        // A 32-bit process can run short of room for what a hostile file makes TagLib build.
        tags = TrackTags();
    }
    return tags;
}
