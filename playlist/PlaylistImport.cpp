#include "playlist/PlaylistImport.h"

namespace {

// A name the system takes for a device, whatever folder or extension goes with it:
// opening or copying one would read a console, a port or a raw volume.
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

const char* const kReasonTexts[int(SkipReason::kCount)] = {
    "not found", "not a file", "name not representable", "not valid text", "too long", nullptr};

}  // namespace

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

bool WideToAnsi(const std::wstring& text, CString* pAnsi) {
    pAnsi->Empty();
    if (text.empty())
        return true;
    // A UTF-8 code page spells everything and takes neither the flag nor the question.
    const bool bUtf8 = ::GetACP() == CP_UTF8;
    const DWORD dwFlags = bUtf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL bDefaulted = FALSE;
    const int nWide = static_cast<int>(text.size());
    int nBytes =
        ::WideCharToMultiByte(CP_ACP, dwFlags, text.data(), nWide, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return false;
    ::WideCharToMultiByte(CP_ACP, dwFlags, text.data(), nWide, pAnsi->GetBuffer(nBytes), nBytes,
                          nullptr, bUtf8 ? nullptr : &bDefaulted);
    pAnsi->ReleaseBuffer(nBytes);
    return !bDefaulted;
}

std::wstring AnsiToWide(LPCSTR text) {
    int nWide = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(nWide > 0 ? nWide : 1, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], nWide);
    wide.resize(wide.size() - 1);
    return wide;
}

void AddExistingFile(const std::wstring& path, ImportResult* pResult) {
    CString ansi;
    if (pResult->Full())
        pResult->Skip(SkipReason::kOverLimit);
    else if (!WideToAnsi(path, &ansi))
        pResult->Skip(SkipReason::kNotRepresentable);
    else if (ansi.GetLength() >= MAX_PATH)
        pResult->Skip(SkipReason::kTooLong);
    else
        pResult->paths.push_back(ansi);
}

void AddCheckedFile(const std::wstring& path, ImportResult* pResult) {
    if (pResult->Full()) {
        pResult->Skip(SkipReason::kOverLimit);
        return;
    }
    if (IsDevicePath(path)) {
        pResult->Skip(SkipReason::kNotAFile);
        return;
    }
    DWORD dwAttributes = ::GetFileAttributesW(path.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        pResult->Skip(SkipReason::kNotFound);
    else if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)
        pResult->Skip(SkipReason::kNotAFile);
    else
        AddExistingFile(path, pResult);
}

CString SystemErrorText(DWORD dwError) {
    char buffer[512] = "";
    DWORD nLength = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, dwError, 0, buffer, sizeof(buffer), nullptr);
    while (nLength > 0 && (buffer[nLength - 1] == '\r' || buffer[nLength - 1] == '\n' ||
                           buffer[nLength - 1] == ' '))
        buffer[--nLength] = '\0';
    CString text(buffer);
    if (text.IsEmpty())
        text.Format("error %lu", dwError);
    return text;
}
