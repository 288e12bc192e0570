// Paths taken apart and put together in one place: joined, cut into folder and file name, their
// drive and computer read, made full. 8-bit paths are in the process's code page unless told
// otherwise, and are cut by whole characters of it; UTF-16 paths are what the import reads.
// framework/String.h includes this header, so that whoever has strings has their paths too.
#pragma once

#include <windows.h>

#include <string>

class CString;

// A folder and a name with one backslash between them; a folder that ends with its own
// separator (a drive's root) gets no second one, and an empty folder gives the name alone.
CString JoinPath(const CString& folder, const CString& name, UINT nCodePage = CP_ACP);
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// The folder part of a path, with its last backslash or slash; empty when it has none.
CString FolderOfPath(const CString& path, UINT nCodePage = CP_ACP);
std::wstring FolderOfPath(const std::wstring& path);

// The file name of a path: what follows its last backslash or slash, or the whole path.
CString FileNameOfPath(const CString& path, UINT nCodePage = CP_ACP);
std::wstring FileNameOfPath(const std::wstring& path);

// A drive's root path: E:\ for E:.
CString DriveRoot(const CString& drive);

// The drive part of a full path: C: or \\server\share.
std::wstring DriveOfPath(const std::wstring& path);

// The computer that a full path lies on: nas for \\nas\share\x, and whatever stands in its
// place (nothing for \\\x). Empty for a path on this computer, \\?\ and \\.\ ones included.
std::wstring ComputerOfPath(const std::wstring& path);

// The path made absolute, "." and ".." worked out; as it is when the system cannot.
std::wstring FullPath(const std::wstring& path);

// A full path with its short 8.3 names spelt long, so that two spellings of one file compare
// equal; as it is when the file cannot be found.
std::wstring LongPath(const std::wstring& path);
