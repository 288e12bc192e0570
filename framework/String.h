// Reference-counted 8-bit string in the process's code page, with copy-on-write, as the
// program's code expects of CString.
#pragma once

#include "framework/Path.h"

#include <windows.h>
#include <cstdarg>
#include <string>

class CString {
public:
    CString();
    CString(const CString& other);
    CString(CString&& other) noexcept;
    CString(LPCSTR psz);
    CString(LPCSTR pch, int nLength);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(LPCSTR psz);
    CString& operator+=(const CString& other);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(char ch);

    operator LPCSTR() const { return m_pchData; }
    int GetLength() const;
    BOOL IsEmpty() const { return GetLength() == 0; }
    void Empty();
    char GetAt(int nIndex) const { return m_pchData[nIndex]; }
    char operator[](int nIndex) const { return m_pchData[nIndex]; }
    int Compare(LPCSTR psz) const;

    // Writable buffer of at least nMinBufLength characters plus the terminator;
    // ReleaseBuffer(-1) takes the length from the terminator.
    LPSTR GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);
    LPSTR GetBufferSetLength(int nNewLength);

    // printf formatting by the C runtime, so %I64u and friends work as on Windows.
    void __attribute__((format(ms_printf, 2, 3))) Format(LPCSTR pszFormat, ...);
    void FormatV(LPCSTR pszFormat, va_list args);

    // Searches by whole characters of the process's code page: a trail byte never matches.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString& Trim();

    // Loads a string resource; FALSE (and an empty string) when there is none.
    BOOL LoadString(UINT nID);

private:
    struct Data;
    static Data* NilData();
    Data* GetData() const;
    void Release();
    void AllocBuffer(int nLength);
    void Assign(LPCSTR pch, int nLength);
    void Append(LPCSTR pch, int nLength);
    void MakeUnique(int nMinCapacity);

    LPSTR m_pchData;  // points into a Data block, just past its header
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCSTR b);
CString operator+(LPCSTR a, const CString& b);
CString operator+(const CString& a, char b);

// What the system says about an error code, without a trailing line end.
CString SystemErrorText(DWORD dwError);

// The code page's spelling of text; false when a character has none of its own (it was
// replaced) or the text is not valid UTF-16.
bool WideToAnsi(const std::wstring& text, CString* pAnsi, UINT nCodePage = CP_ACP);
std::wstring AnsiToWide(LPCSTR text, UINT nCodePage = CP_ACP);

// Whether text shows as what it says: no control characters but the tab (C0, DEL, C1), no
// marks that turn the direction of the text after them, no line or paragraph separators, and
// every surrogate in a pair. Names from a stranger's file that fail this could pass for other
// names, or for the program's own words, wherever they are shown.
bool IsPlainText(const std::wstring& text);

// Names compared as the file system compares them: without regard to case, by the system's
// own upper-case table.
bool SameFileName(const std::wstring& a, const std::wstring& b);
struct FileNameLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const;
};
// A name's form in which the names that the file system takes for one are equal, to find them
// in a hash table.
std::wstring FileNameKey(const std::wstring& name);
// The same made in *pKey, whose buffer is used again: for names by the million.
void FileNameKey(const wchar_t* pName, size_t nLength, std::wstring* pKey);

inline bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
inline bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
