// Copying ANSI text into a fixed buffer without splitting a double-byte character.
#pragma once

#include <windows.h>

#include <cstddef>

// Copies as many whole characters of pszSource (in code page nCodePage) as fit in nSize - 1
// bytes, then a terminator; nullptr copies nothing. Returns the bytes copied.
size_t CopyWholeChars(char* pDest, size_t nSize, LPCSTR pszSource, UINT nCodePage = CP_ACP);
