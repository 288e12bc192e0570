// ASX, WAX and WVX files: XML-like markup that its writers and readers take loosely (tag names
// in any case, end tags that do not match, bare ampersands), so it is read tag by tag here
// instead of by an XML reader, which would refuse most of them.
#include "import/PlaylistFormats.h"

#include <cstdlib>

namespace {

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

// The character that &name; or &#n; stands for; 0 when it is none that XML predefines.
wchar_t EntityValue(const std::wstring& name) {
    if (name.size() > 1 && name[0] == L'#') {
        const bool bHex = name[1] == L'x' || name[1] == L'X';
        const std::wstring digits = name.substr(bHex ? 2 : 1);
        wchar_t* pEnd = nullptr;
        const unsigned long n = std::wcstoul(digits.c_str(), &pEnd, bHex ? 16 : 10);
        return !digits.empty() && *pEnd == 0 && n > 0 && n < 0xD800 ? static_cast<wchar_t>(n) : 0;
    }
    const struct {
        const wchar_t* name;
        wchar_t ch;
    } kEntities[] = {
        {L"amp", L'&'}, {L"lt", L'<'}, {L"gt", L'>'}, {L"quot", L'"'}, {L"apos", L'\''}};
    for (const auto& entity : kEntities) {
        if (name == entity.name)
            return entity.ch;
    }
    return 0;
}

// An attribute value with its references replaced; one that names nothing stays as written.
std::wstring DecodeValue(const std::wstring& value) {
    std::wstring decoded;
    for (size_t i = 0; i < value.size(); ++i) {
        const size_t nSemicolon = value[i] == L'&' ? value.find(L';', i) : std::wstring::npos;
        const wchar_t ch = nSemicolon == std::wstring::npos
                               ? 0
                               : EntityValue(value.substr(i + 1, nSemicolon - i - 1));
        if (ch) {
            decoded += ch;
            i = nSemicolon;
        } else {
            decoded += value[i];
        }
    }
    return decoded;
}

// The value of the named attribute in a tag's text after its name. False when the tag has
// none; a quoted value without its closing quote is the rest of the tag, marked broken.
bool FindAttribute(const std::wstring& tag, const wchar_t* name, std::wstring* pValue,
                   bool* pBroken) {
    size_t i = 0;
    while (i < tag.size()) {
        while (i < tag.size() && (IsBlank(tag[i]) || tag[i] == L'/'))
            ++i;
        const size_t nName = i;
        while (i < tag.size() && !IsBlank(tag[i]) && tag[i] != L'=' && tag[i] != L'/')
            ++i;
        const std::wstring attribute = tag.substr(nName, i - nName);
        while (i < tag.size() && IsBlank(tag[i]))
            ++i;
        std::wstring value;
        *pBroken = false;
        if (i < tag.size() && tag[i] == L'=') {
            ++i;
            while (i < tag.size() && IsBlank(tag[i]))
                ++i;
            if (i < tag.size() && (tag[i] == L'"' || tag[i] == L'\'')) {
                const size_t nClose = tag.find(tag[i], i + 1);
                *pBroken = nClose == std::wstring::npos;
                value = tag.substr(i + 1, *pBroken ? std::wstring::npos : nClose - i - 1);
                i = *pBroken ? tag.size() : nClose + 1;
            } else {
                const size_t nValue = i;
                while (i < tag.size() && !IsBlank(tag[i]))
                    ++i;
                value = tag.substr(nValue, i - nValue);
            }
        }
        if (!attribute.empty() && SameNameNoCase(attribute, name)) {
            *pValue = DecodeValue(value);
            return true;
        }
    }
    return false;
}

// Follows the tags as the text is cut after each '>'.
class CAsxReader {
public:
    explicit CAsxReader(const EntrySink& onEntry) : m_onEntry(onEntry) {}

    // A piece of the file up to a '>' (not included), or a piece that could not be read.
    void Take(EntryLine line, const std::wstring& piece) {
        if (line != EntryLine::kText) {
            if (!m_bInComment)
                m_onEntry(line == EntryLine::kTooLong ? EntryText::kTooLong : EntryText::kInvalid,
                          std::wstring());
            return;
        }
        if (m_bInComment) {
            m_bInComment = !EndsComment(piece, 0);
            return;
        }
        const size_t nComment = piece.find(L"<!--");
        if (nComment != std::wstring::npos) {
            m_bInComment = !EndsComment(piece, nComment + 4);
            return;
        }
        const size_t nOpen = piece.rfind(L'<');
        if (nOpen != std::wstring::npos)
            TakeTag(piece.substr(nOpen + 1));
    }

private:
    // Whether the piece ends a comment that is open from nFrom on: with "--" before its '>'.
    static bool EndsComment(const std::wstring& piece, size_t nFrom) {
        return piece.size() >= nFrom + 2 && piece.compare(piece.size() - 2, 2, L"--") == 0;
    }

    void TakeTag(const std::wstring& tag) {
        const bool bEnd = !tag.empty() && tag[0] == L'/';
        size_t nNameEnd = bEnd ? 1 : 0;
        while (nNameEnd < tag.size() && !IsBlank(tag[nNameEnd]) && tag[nNameEnd] != L'/')
            ++nNameEnd;
        const std::wstring name = tag.substr(bEnd ? 1 : 0, nNameEnd - (bEnd ? 1 : 0));
        if (SameNameNoCase(name, L"entry")) {
            m_bInEntry = !bEnd;
            m_bEntryHasRef = false;
            return;
        }
        const bool bRef = SameNameNoCase(name, L"ref");
        if (bEnd || !(bRef || SameNameNoCase(name, L"entryref")) || (bRef && m_bEntryHasRef))
            return;
        std::wstring href;
        bool bBroken = false;
        if (!FindAttribute(tag.substr(nNameEnd), L"href", &href, &bBroken))
            return;
        m_bEntryHasRef = bRef && m_bInEntry;
        if (bBroken)
            m_onEntry(EntryText::kInvalid, std::wstring());
        else
            TakeEntryText(EntryText::kReference, href, m_onEntry);
    }

    const EntrySink& m_onEntry;
    bool m_bInComment = false;    // within <!-- -->: nothing in it counts
    bool m_bInEntry = false;      // within <entry>
    bool m_bEntryHasRef = false;  // the entry's first <ref> was taken; the others stand in for it
};

}  // namespace

DWORD ReadAsxEntries(HANDLE hFile, const PlaylistEncoding& encoding, const EntrySink& onEntry) {
    CAsxReader reader(onEntry);
    return ReadEntryLines(
        hFile, encoding, TextCut::kTags,
        [&](EntryLine line, const std::wstring& piece) { reader.Take(line, piece); });
}
