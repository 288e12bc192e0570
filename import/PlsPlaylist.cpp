// PLS files: an INI-like [playlist] section whose FileN= lines name the entries. Writers put
// them in any order and their NumberOfEntries= may be wrong, so the numbers alone give the order.
#include "import/ImportResult.h"
#include "import/PlaylistFormats.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

struct NumberedEntry {
    unsigned long long nNumber;
    std::wstring text;
};

// N of a FileN key, in any case; false for any other key. Numbers too large to hold sort last.
bool FileNumberOf(const std::wstring& key, unsigned long long* pNumber) {
    if (key.size() < 5 || ::CompareStringOrdinal(key.c_str(), 4, L"file", 4, TRUE) != CSTR_EQUAL)
        return false;
    unsigned long long n = 0;
    for (size_t i = 4; i < key.size(); ++i) {
        if (key[i] < L'0' || key[i] > L'9')
            return false;
        n = n > (ULLONG_MAX - 9) / 10 ? ULLONG_MAX : n * 10 + (key[i] - L'0');
    }
    *pNumber = n;
    return true;
}

}  // namespace

DWORD ReadPlsEntries(HANDLE hFile, const PlaylistEncoding& encoding, const EntrySink& onEntry) {
    // No more are kept than an import takes; the order needs all of them before the first.
    std::vector<NumberedEntry> entries;
    size_t nPastLimit = 0;
    const DWORD dwError = ReadEntryLines(
        hFile, encoding, TextCut::kLines, [&](EntryLine line, const std::wstring& text) {
            if (line != EntryLine::kText) {
                onEntry(line == EntryLine::kTooLong ? EntryText::kTooLong : EntryText::kInvalid,
                        std::wstring());
                return;
            }
            const size_t nEquals = text.find(L'=');
            unsigned long long nNumber = 0;
            if (nEquals == std::wstring::npos ||
                !FileNumberOf(text.substr(0, text.find_last_not_of(L" \t", nEquals - 1) + 1),
                              &nNumber))
                return;
            const size_t nValue = text.find_first_not_of(L" \t", nEquals + 1);
            if (nValue == std::wstring::npos)
                return;
            if (entries.size() < kMaxImportEntries)
                entries.push_back({nNumber, text.substr(nValue)});
            else
                ++nPastLimit;
        });
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const NumberedEntry& a, const NumberedEntry& b) { return a.nNumber < b.nNumber; });
    for (const NumberedEntry& entry : entries)
        onEntry(EntryText::kPath, entry.text);
    for (; nPastLimit > 0; --nPastLimit)
        onEntry(EntryText::kPastLimit, std::wstring());
    return dwError;
}
