#include "import/PlaylistText.h"

#include "framework/String.h"

#include <algorithm>
#include <cstring>

namespace {

const DWORD kReadChunk = 1 << 16;

enum class Form { kBytes, kUtf16Le, kUtf16Be };

// Whether bytes, fed in pieces, are all valid UTF-8 and not all ASCII.
class CUtf8Check {
public:
    void Feed(const char* pData, size_t nSize) {
        for (size_t i = 0; i < nSize && m_bValid; ++i) {
            if (m_nPending == 0 && static_cast<BYTE>(pData[i]) < 0x80)
                continue;  // most of a playlist: the quick way past it
            Take(static_cast<BYTE>(pData[i]));
        }
    }
    bool StillValid() const { return m_bValid; }
    bool IsUtf8() const { return m_bValid && m_nPending == 0 && m_bNonAscii; }

private:
    void Take(BYTE b) {
        if (m_nPending > 0) {
            m_bValid = b >= m_lowest && b <= m_highest;
            m_lowest = 0x80;
            m_highest = 0xBF;
            --m_nPending;
            return;
        }
        if (b < 0x80)
            return;
        m_bNonAscii = true;
        // The lead byte says how many follow; a few leads narrow the next byte's range so that
        // overlong forms, surrogates and values past U+10FFFF are refused.
        if (b >= 0xC2 && b <= 0xDF) {
            m_nPending = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            m_nPending = 2;
            m_lowest = b == 0xE0 ? 0xA0 : 0x80;
            m_highest = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            m_nPending = 3;
            m_lowest = b == 0xF0 ? 0x90 : 0x80;
            m_highest = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            m_bValid = false;
        }
    }

    int m_nPending = 0;    // continuation bytes still due
    BYTE m_lowest = 0x80;  // the range the next continuation byte must be in
    BYTE m_highest = 0xBF;
    bool m_bValid = true;
    bool m_bNonAscii = false;
};

// Cuts the file into pieces and hands on those that are entries.
class CLineSplitter {
public:
    CLineSplitter(Form form, UINT nCodePage, TextCut cut,
                  const std::function<void(EntryLine, const std::wstring&)>& onEntry)
        : m_form(form), m_nCodePage(nCodePage), m_cut(cut), m_onEntry(onEntry) {}

    void Feed(const char* pData, size_t nSize) {
        for (const char* p = pData; p < pData + nSize; ++p) {
            if (m_form == Form::kBytes) {
                Add(m_bytes, *p);
            } else if (m_nOddByte < 0) {
                m_nOddByte = static_cast<BYTE>(*p);
            } else {
                const auto b = static_cast<BYTE>(*p);
                Add(m_units, static_cast<wchar_t>(m_form == Form::kUtf16Le ? m_nOddByte | b << 8
                                                                           : m_nOddByte << 8 | b));
                m_nOddByte = -1;
            }
        }
    }

    void Finish() {
        m_bBroken = m_nOddByte >= 0;  // half a UTF-16 unit at the very end
        EndLine();
    }

private:
    template <class Text> void Add(Text& line, typename Text::value_type ch) {
        const bool bLineEnd = ch == '\n' || ch == '\r';
        if (m_cut == TextCut::kLines ? bLineEnd : ch == '>')
            EndLine();
        else if (line.size() >= kMaxEntryUnits)
            m_bOverlong = true;
        else
            line += bLineEnd ? ' ' : ch;
    }

    // Whether the piece so far is blank or a comment; nothing in it is read as text then.
    template <class Text> bool IsNoEntry(const Text& line) const {
        const typename Text::value_type blanks[] = {' ', '\t', 0};
        const size_t nFirst = line.find_first_not_of(blanks);
        return nFirst == Text::npos || (m_cut == TextCut::kLines && line[nFirst] == '#');
    }

    void EndLine() {
        if (m_form == Form::kBytes ? !IsNoEntry(m_bytes) : !IsNoEntry(m_units))
            TakeEntry();
        m_bytes.clear();
        m_units.clear();
        m_bOverlong = false;
    }

    void TakeEntry() {
        if (m_bOverlong) {
            m_onEntry(EntryLine::kTooLong, std::wstring());
            return;
        }
        std::wstring text;
        if (m_form != Form::kBytes) {
            text = m_units;
        } else if (std::any_of(m_bytes.begin(), m_bytes.end(),
                               [](char ch) { return ch >= 0 && ch < 0x20 && ch != '\t'; })) {
            // No code page has a control character inside another: the quick refusal.
            m_onEntry(EntryLine::kInvalid, std::wstring());
            return;
        } else {
            const int nBytes = static_cast<int>(m_bytes.size());
            const int nWide = ::MultiByteToWideChar(m_nCodePage, MB_ERR_INVALID_CHARS,
                                                    m_bytes.data(), nBytes, nullptr, 0);
            text.resize(nWide > 0 ? nWide : 0);
            if (nWide > 0)
                ::MultiByteToWideChar(m_nCodePage, MB_ERR_INVALID_CHARS, m_bytes.data(), nBytes,
                                      &text[0], nWide);
        }
        if (text.empty() || m_bBroken || !IsPlainText(text)) {
            m_onEntry(EntryLine::kInvalid, std::wstring());
            return;
        }
        const size_t nFirst = text.find_first_not_of(L" \t");
        m_onEntry(EntryLine::kText,
                  text.substr(nFirst, text.find_last_not_of(L" \t") + 1 - nFirst));
    }

    const Form m_form;
    const UINT m_nCodePage;  // of the bytes, in the byte form
    const TextCut m_cut;
    const std::function<void(EntryLine, const std::wstring&)>& m_onEntry;
    std::string m_bytes;       // the line so far, in the byte form
    std::wstring m_units;      // the line so far, in the UTF-16 forms
    bool m_bOverlong = false;  // the line went past kMaxEntryUnits
    bool m_bBroken = false;    // the file ended inside a UTF-16 unit
    int m_nOddByte = -1;       // the first byte of a UTF-16 unit whose second is still due
};

}  // namespace

UINT UserAnsiCodePage() {
    UINT nCodePage = 0;
    if (!::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                          reinterpret_cast<LPWSTR>(&nCodePage), sizeof(nCodePage) / sizeof(WCHAR)))
        nCodePage = 0;
    // Locales written in Unicode alone have none; the process's is then as good as any.
    return nCodePage ? nCodePage : ::GetACP();
}

DWORD ReadEntryLines(HANDLE hFile, const PlaylistEncoding& encoding, TextCut cut,
                     const std::function<void(EntryLine, const std::wstring&)>& onEntry) {
    std::string chunk(kReadChunk, '\0');
    DWORD nRead = 0;
    auto readChunk = [&] { return ::ReadFile(hFile, &chunk[0], kReadChunk, &nRead, nullptr); };
    if (!readChunk())
        return ::GetLastError();
    auto startsWith = [&](const char* mark, DWORD nMark) {
        return nRead >= nMark && std::memcmp(chunk.data(), mark, nMark) == 0;
    };
    Form form = Form::kBytes;
    UINT nCodePage = CP_UTF8;
    DWORD nMark = 0;
    if (startsWith("\xEF\xBB\xBF", 3)) {
        nMark = 3;
    } else if (startsWith("\xFF\xFE", 2) || startsWith("\xFE\xFF", 2)) {
        nMark = 2;
        form = chunk[0] == '\xFF' ? Form::kUtf16Le : Form::kUtf16Be;
    } else if (!encoding.bUtf8) {
        // Whether the bytes are UTF-8 takes all of them to know, and only then is any read.
        CUtf8Check check;
        check.Feed(chunk.data(), nRead);
        while (check.StillValid() && nRead > 0) {
            if (!readChunk())
                return ::GetLastError();
            check.Feed(chunk.data(), nRead);
        }
        if (!check.IsUtf8())
            nCodePage = encoding.nCodePage ? encoding.nCodePage : UserAnsiCodePage();
        if (::SetFilePointer(hFile, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
            !readChunk())
            return ::GetLastError();
    }
    CLineSplitter splitter(form, nCodePage, cut, onEntry);
    splitter.Feed(chunk.data() + nMark, nRead - nMark);
    BOOL bOk;
    while ((bOk = readChunk()) && nRead > 0)
        splitter.Feed(chunk.data(), nRead);
    splitter.Finish();
    return bOk ? 0 : ::GetLastError();
}
