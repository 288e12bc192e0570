#include "import/ImportResult.h"

namespace {

const char* const kReasonTexts[int(SkipReason::kCount)] = {"not found",
                                                           "not a file",
                                                           "not a media file",
                                                           "not a playlist",
                                                           "name not representable",
                                                           "not valid text",
                                                           "too long",
                                                           "web address",
                                                           "on another computer",
                                                           "computer not reachable",
                                                           "playlist loop",
                                                           "nested too deeply",
                                                           nullptr};

}  // namespace

bool IsDevicePath(const std::wstring& path) {
    if (path.compare(0, 4, L"\\\\.\\") == 0 || path.compare(0, 4, L"\\\\?\\") == 0)
        return true;
    size_t nameStart = path.find_last_of(L"\\/:");
    std::wstring base = path.substr(nameStart == std::wstring::npos ? 0 : nameStart + 1);
    base = base.substr(0, base.find(L'.'));
    while (!base.empty() && base.back() == L' ')
        base.pop_back();
    auto is = [&](const wchar_t* device) { return ::lstrcmpiW(base.c_str(), device) == 0; };
    if (is(L"CON") || is(L"PRN") || is(L"AUX") || is(L"NUL") || is(L"CONIN$") || is(L"CONOUT$"))
        return true;
    return base.size() == 4 && base[3] >= L'0' && base[3] <= L'9' &&
           (::CompareStringOrdinal(base.c_str(), 3, L"COM", 3, TRUE) == CSTR_EQUAL ||
            ::CompareStringOrdinal(base.c_str(), 3, L"LPT", 3, TRUE) == CSTR_EQUAL);
}

unsigned ImportResult::SkippedCount() const {
    unsigned nTotal = 0;
    for (unsigned n : skipped)
        nTotal += n;
    return nTotal;
}

CString DescribeImport(const ImportResult& result) {
    const unsigned nSkipped = result.SkippedCount();
    if (nSkipped == 0 && result.unreadable.empty() && !result.paths.empty())
        return CString();
    CString text;
    for (const CString& line : result.unreadable)
        text += line + "\n";
    const unsigned nAdded = static_cast<unsigned>(result.paths.size());
    CString part;
    part.Format("Added %u %s", nAdded, nAdded == 1 ? "entry" : "entries");
    text += part;
    if (nSkipped > 0) {
        part.Format(", skipped %u (", nSkipped);
        text += part;
        const char* separator = "";
        for (int i = 0; i < int(SkipReason::kCount); ++i) {
            if (result.skipped[i] == 0)
                continue;
            if (kReasonTexts[i])
                part.Format("%s%u %s", separator, result.skipped[i], kReasonTexts[i]);
            else
                part.Format("%s%u past the %u-entry limit", separator, result.skipped[i],
                            static_cast<unsigned>(kMaxImportEntries));
            text += part;
            separator = ", ";
        }
        text += ")";
    }
    return text + ".";
}

void AddExistingFile(const std::wstring& path, ImportResult* pResult) {
    CString ansi;
    if (pResult->Full())
        pResult->Skip(SkipReason::kOverLimit);
    else if (!WideToAnsi(path, &ansi))
        pResult->Skip(SkipReason::kNotRepresentable);
    else if (path.size() >= MAX_PATH)  // the limit is in UTF-16 units, whatever the bytes
        pResult->Skip(SkipReason::kTooLong);
    else
        pResult->paths.push_back(ansi);
}
