#include "framework/String.h"

#include "framework/Afx.h"
#include "framework/CodePage.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

struct CString::Data {
    int nRefs;         // owners of this block; the shared empty block is never freed
    int nDataLength;   // characters in use, without the terminator
    int nAllocLength;  // characters that fit, without the terminator
    char* chars() { return reinterpret_cast<char*>(this + 1); }
};

namespace {
struct NilBlock {
    int nRefs = -1;
    int nDataLength = 0;
    int nAllocLength = 0;
    char terminator = 0;
};
NilBlock g_nil;
}  // namespace

CString::Data* CString::NilData() { return reinterpret_cast<Data*>(&g_nil); }

CString::Data* CString::GetData() const { return reinterpret_cast<Data*>(m_pchData) - 1; }

CString::CString() : m_pchData(NilData()->chars()) {}

CString::CString(const CString& other) : m_pchData(other.m_pchData) {
    if (GetData()->nRefs > 0)
        ++GetData()->nRefs;
}

CString::CString(CString&& other) noexcept : m_pchData(other.m_pchData) {
    other.m_pchData = NilData()->chars();
}

CString::CString(LPCSTR psz) : CString() {
    if (psz)
        Assign(psz, static_cast<int>(strlen(psz)));
}

CString::CString(LPCSTR pch, int nLength) : CString() { Assign(pch, nLength); }

CString::~CString() { Release(); }

void CString::Release() {
    Data* data = GetData();
    if (data != NilData() && --data->nRefs == 0)
        free(data);
    m_pchData = NilData()->chars();
}

void CString::AllocBuffer(int nLength) {
    Release();
    if (nLength == 0)
        return;
    Data* data = static_cast<Data*>(malloc(sizeof(Data) + nLength + 1));
    if (!data)
        abort();
    data->nRefs = 1;
    data->nDataLength = nLength;
    data->nAllocLength = nLength;
    data->chars()[nLength] = '\0';
    m_pchData = data->chars();
}

void CString::Assign(LPCSTR pch, int nLength) {
    if (nLength <= 0) {
        Release();
        return;
    }
    CString copy;  // pch may point into our own buffer
    copy.AllocBuffer(nLength);
    memcpy(copy.m_pchData, pch, nLength);
    *this = static_cast<CString&&>(copy);
}

void CString::MakeUnique(int nMinCapacity) {
    Data* data = GetData();
    if (data->nRefs == 1 && data->nAllocLength >= nMinCapacity)
        return;
    int nLength = data->nDataLength;
    int nAlloc = nMinCapacity > nLength ? nMinCapacity : nLength;
    Data* fresh = static_cast<Data*>(malloc(sizeof(Data) + nAlloc + 1));
    if (!fresh)
        abort();
    fresh->nRefs = 1;
    fresh->nDataLength = nLength;
    fresh->nAllocLength = nAlloc;
    memcpy(fresh->chars(), m_pchData, nLength + 1);
    Release();
    m_pchData = fresh->chars();
}

void CString::Append(LPCSTR pch, int nLength) {
    if (nLength <= 0)
        return;
    int nOld = GetLength();
    if (pch >= m_pchData && pch <= m_pchData + nOld) {  // appending part of ourselves
        CString copy(pch, nLength);
        Append(copy.m_pchData, nLength);
        return;
    }
    int nNew = nOld + nLength;
    if (GetData()->nRefs != 1 || GetData()->nAllocLength < nNew)
        MakeUnique(nNew > 2 * nOld ? nNew : 2 * nOld);  // geometric growth keeps += linear
    memcpy(m_pchData + nOld, pch, nLength);
    m_pchData[nNew] = '\0';
    GetData()->nDataLength = nNew;
}

CString& CString::operator=(const CString& other) {
    if (m_pchData != other.m_pchData) {
        Release();
        m_pchData = other.m_pchData;
        if (GetData()->nRefs > 0)
            ++GetData()->nRefs;
    }
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    if (this != &other) {
        Release();
        m_pchData = other.m_pchData;
        other.m_pchData = NilData()->chars();
    }
    return *this;
}

CString& CString::operator=(LPCSTR psz) {
    Assign(psz, psz ? static_cast<int>(strlen(psz)) : 0);
    return *this;
}

CString& CString::operator+=(const CString& other) {
    Append(other.m_pchData, other.GetLength());
    return *this;
}

CString& CString::operator+=(LPCSTR psz) {
    if (psz)
        Append(psz, static_cast<int>(strlen(psz)));
    return *this;
}

CString& CString::operator+=(char ch) {
    Append(&ch, 1);
    return *this;
}

int CString::GetLength() const { return GetData()->nDataLength; }

void CString::Empty() { Release(); }

int CString::Compare(LPCSTR psz) const { return strcmp(m_pchData, psz ? psz : ""); }

LPSTR CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength < 1)
        nMinBufLength = 1;  // always hand out a real, writable block
    MakeUnique(nMinBufLength);
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength) {
    if (GetData()->nRefs <= 0)
        return;
    if (nNewLength < 0)
        nNewLength = static_cast<int>(strnlen(m_pchData, GetData()->nAllocLength));
    if (nNewLength > GetData()->nAllocLength)
        nNewLength = GetData()->nAllocLength;
    GetData()->nDataLength = nNewLength;
    m_pchData[nNewLength] = '\0';
}

LPSTR CString::GetBufferSetLength(int nNewLength) {
    GetBuffer(nNewLength);
    GetData()->nDataLength = nNewLength;
    m_pchData[nNewLength] = '\0';
    return m_pchData;
}

void CString::Format(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCSTR pszFormat, va_list args) {
    va_list counting;
    va_copy(counting, args);
    int nLength = _vscprintf(pszFormat, counting);
    va_end(counting);
    if (nLength <= 0) {
        Empty();
        return;
    }
    CString result;
    _vsnprintf(result.GetBuffer(nLength), nLength + 1, pszFormat, args);
    result.ReleaseBuffer(nLength);
    *this = static_cast<CString&&>(result);
}

int CString::Find(char ch, int nStart) const {
    return FindChar(m_pchData, GetLength(), ch, nStart);
}

int CString::Find(LPCSTR pszSub, int nStart) const {
    return FindText(m_pchData, GetLength(), pszSub, nStart);
}

int CString::ReverseFind(char ch) const { return ReverseFindChar(m_pchData, GetLength(), ch); }

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - nFirst); }

CString CString::Mid(int nFirst, int nCount) const {
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst > GetLength())
        nFirst = GetLength();
    if (nCount > GetLength() - nFirst)
        nCount = GetLength() - nFirst;
    if (nFirst == 0 && nCount == GetLength())
        return *this;
    return CString(m_pchData + nFirst, nCount);
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
    if (nCount > GetLength())
        nCount = GetLength();
    return Mid(GetLength() - nCount, nCount);
}

CString& CString::Trim() {
    int nFirst = 0;
    int nEnd = GetLength();
    while (nFirst < nEnd && (m_pchData[nFirst] == ' ' || m_pchData[nFirst] == '\t'))
        ++nFirst;
    while (nEnd > nFirst && (m_pchData[nEnd - 1] == ' ' || m_pchData[nEnd - 1] == '\t'))
        --nEnd;
    *this = Mid(nFirst, nEnd - nFirst);
    return *this;
}

BOOL CString::LoadString(UINT nID) {
    // Asked for no buffer, the loader lends the resource's own UTF-16 text, whatever its
    // length, so no character is ever cut in two.
    LPCWSTR pszResource = nullptr;
    const int nLength =
        ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&pszResource), 0);
    if (nLength <= 0 || !pszResource) {
        Empty();
        return FALSE;
    }
    WideToAnsi(std::wstring(pszResource, static_cast<size_t>(nLength)), this);
    return !IsEmpty();
}

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, LPCSTR b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(LPCSTR a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, char b) {
    CString result(a);
    result += b;
    return result;
}

CString SystemErrorText(DWORD dwError) {
    // The system allocates the text, so a long one in any language arrives whole.
    LPSTR pszMessage = nullptr;
    const DWORD nLength = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, dwError, 0, reinterpret_cast<LPSTR>(&pszMessage), 0, nullptr);
    CString text(pszMessage, static_cast<int>(nLength));
    ::LocalFree(pszMessage);
    int nEnd = text.GetLength();
    while (nEnd > 0 && (text[nEnd - 1] == '\r' || text[nEnd - 1] == '\n' || text[nEnd - 1] == ' '))
        --nEnd;
    text = text.Left(nEnd);
    if (text.IsEmpty())
        text.Format("error %lu", dwError);
    return text;
}

bool WideToAnsi(const std::wstring& text, CString* pAnsi, UINT nCodePage) {
    pAnsi->Empty();
    if (text.empty())
        return true;
    nCodePage = ActualCodePage(nCodePage);
    // UTF-8 spells everything but broken UTF-16, and takes no question about replacements.
    const bool bUtf8 = nCodePage == CP_UTF8;
    const DWORD dwFlags = bUtf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL bDefaulted = FALSE;
    const int nWide = static_cast<int>(text.size());
    const int nBytes =
        ::WideCharToMultiByte(nCodePage, dwFlags, text.data(), nWide, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return false;
    ::WideCharToMultiByte(nCodePage, dwFlags, text.data(), nWide, pAnsi->GetBuffer(nBytes), nBytes,
                          nullptr, bUtf8 ? nullptr : &bDefaulted);
    pAnsi->ReleaseBuffer(nBytes);
    return !bDefaulted;
}

std::wstring AnsiToWide(LPCSTR text, UINT nCodePage) {
    nCodePage = ActualCodePage(nCodePage);
    // One pass: no code page makes more UTF-16 units of a text than it has bytes.
    std::wstring wide(static_cast<size_t>(::lstrlenA(text)) + 1, L'\0');
    const int nWide =
        ::MultiByteToWideChar(nCodePage, 0, text, -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(nWide > 0 ? static_cast<size_t>(nWide) - 1 : 0);
    return wide;
}

namespace {
int CompareFileNames(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE);
}
}  // namespace

bool SameFileName(const std::wstring& a, const std::wstring& b) {
    return CompareFileNames(a, b) == CSTR_EQUAL;
}

bool FileNameLess::operator()(const std::wstring& a, const std::wstring& b) const {
    return CompareFileNames(a, b) == CSTR_LESS_THAN;
}

std::wstring FileNameKey(const std::wstring& name) {
    std::wstring key;
    FileNameKey(name.c_str(), name.size(), &key);
    return key;
}

void FileNameKey(const wchar_t* pName, size_t nLength, std::wstring* pKey) {
    pKey->assign(pName, nLength);
    bool bAscii = true;
    for (wchar_t& ch : *pKey) {
        bAscii &= ch < 0x80;
        if (ch >= L'a' && ch <= L'z')
            ch = static_cast<wchar_t>(ch - (L'a' - L'A'));
    }
    // Most names are ASCII alone: the system's table is asked only for the others.
    if (!bAscii)
        ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, pName, static_cast<int>(nLength),
                        &(*pKey)[0], static_cast<int>(nLength), nullptr, nullptr, 0);
}

bool IsPlainText(const std::wstring& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t ch = text[i];
        if ((ch < 0x20 && ch != L'\t') || (ch >= 0x7F && ch <= 0x9F))
            return false;
        if (ch == 0x061C || ch == 0x200E || ch == 0x200F || (ch >= 0x2028 && ch <= 0x202E) ||
            (ch >= 0x2066 && ch <= 0x2069))
            return false;
        if (ch >= 0xDC00 && ch <= 0xDFFF)
            return false;
        if (ch >= 0xD800 && ch <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
                return false;
            ++i;
        }
    }
    return true;
}
