// 8-bit text walked, searched and cut by whole characters of its code page. The process's code
// page is UTF-8 where the system honours the manifest and a legacy one (single- or double-byte)
// elsewhere; CP_ACP stands for it everywhere here.
#pragma once

#include <windows.h>

#include <cstddef>

// The code page that nCodePage stands for: the process's for CP_ACP.
UINT ActualCodePage(UINT nCodePage);

// Bytes of the character that starts at psz: 1 for a single byte, a NUL, or a byte that
// starts no whole character; never past the terminator.
int CharBytesAt(LPCSTR psz, UINT nCodePage = CP_ACP);

// Where ch stands in the nLength bytes of text as a character of its own, never as the
// trail byte of another: the first from nStart, or the last; -1 when it does not.
int FindChar(LPCSTR pch, int nLength, char ch, int nStart, UINT nCodePage = CP_ACP);
int ReverseFindChar(LPCSTR pch, int nLength, char ch, UINT nCodePage = CP_ACP);
// The same for a piece of text, which must start on a character of the text.
int FindText(LPCSTR pch, int nLength, LPCSTR pszSub, int nStart, UINT nCodePage = CP_ACP);

// Copies as many whole characters of pszSource as fit in nSize - 1 bytes, then a terminator;
// nullptr copies nothing. Returns the bytes copied.
size_t CopyWholeChars(char* pDest, size_t nSize, LPCSTR pszSource, UINT nCodePage = CP_ACP);
