#include "copy/CopyRecord.h"

#include "copy/UpdatePlan.h"
#include "framework/KernelHandle.h"

#include <algorithm>
#include <unordered_map>

const char kCopyRecord[] = "~ovelo.own";

namespace {

// The next record, renamed into place once whole. No longer than the staging folder's name,
// so that it fits into the entries that the folder, gone by then, left in a full FAT root.
const char kNextRecord[] = "~ovelo.nxt";
const char kHeader[] = "Ovelo Playlist Tool: the copies it made here, by size, time and name";
// A record of 65,536 copies with long names is a few MiB.
const ULONGLONG kMostRecordBytes = 16 << 20;
const size_t kMostNameUnits = 255;

// The file name that utf8 spells, or empty: valid UTF-8 of at most 255 units, without a
// character that no file name holds (so never a path).
std::wstring FileNameOf(const std::string& utf8) {
    if (utf8.empty() || utf8.size() > kMostNameUnits * 3)
        return std::wstring();
    std::wstring name(utf8.size(), L'\0');
    const int nUnits = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                             static_cast<int>(utf8.size()), &name[0],
                                             static_cast<int>(name.size()));
    name.resize(static_cast<size_t>(std::max(nUnits, 0)));
    if (name.empty() || name.size() > kMostNameUnits || name == L"." || name == L"..")
        return std::wstring();
    for (wchar_t ch : name)
        if (ch < 0x20 || std::wstring(L"\\/:*?\"<>|").find(ch) != std::wstring::npos)
            return std::wstring();
    return name;
}

// A decimal number of 64 bits at most from text at *pAt, and the blank after it.
bool ReadNumber(const std::string& text, size_t* pAt, ULONGLONG* pNumber) {
    size_t at = *pAt;
    ULONGLONG nNumber = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const ULONGLONG nDigit = static_cast<ULONGLONG>(text[at] - '0');
        if (nNumber > (~0ULL - nDigit) / 10)
            return false;
        nNumber = nNumber * 10 + nDigit;
    }
    if (at == *pAt || at >= text.size() || text[at] != ' ')
        return false;
    *pAt = at + 1;
    *pNumber = nNumber;
    return true;
}

// The record's bytes; none where it is missing, no file, or larger than any record written.
std::string ReadRecord(const CString& path) {
    const CHandle hRecord(
        ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (hRecord.IsNull() || ::GetFileType(hRecord) != FILE_TYPE_DISK ||
        !::GetFileSizeEx(hRecord, &size) || size.QuadPart < 0 ||
        static_cast<ULONGLONG>(size.QuadPart) > kMostRecordBytes)
        return std::string();
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD nRead = 0;
    if (!bytes.empty() &&
        (!::ReadFile(hRecord, &bytes[0], static_cast<DWORD>(bytes.size()), &nRead, nullptr) ||
         nRead != bytes.size()))
        return std::string();
    return bytes;
}

}  // namespace

std::string FormatCopyRecord(const std::vector<RecordedCopy>& copies) {
    std::string bytes = std::string(kHeader) + "\r\n";
    for (const RecordedCopy& copy : copies) {
        CString name;
        if (!WideToAnsi(copy.name, &name, CP_UTF8))
            continue;
        const std::string line = std::to_string(copy.facts.nBytes) + " " +
                                 std::to_string(copy.facts.nWriteTime) + " " +
                                 static_cast<LPCSTR>(name) + "\r\n";
        if (bytes.size() + line.size() > kMostRecordBytes)
            break;
        bytes += line;
    }
    return bytes;
}

std::vector<RecordedCopy> ParseCopyRecord(const std::string& bytes) {
    std::vector<RecordedCopy> copies;
    size_t nEnd = bytes.find('\n');
    if (nEnd == std::string::npos || bytes.compare(0, nEnd, std::string(kHeader) + "\r") != 0)
        return copies;
    for (size_t at = nEnd + 1; at < bytes.size(); at = nEnd + 1) {
        nEnd = bytes.find('\n', at);
        if (nEnd == std::string::npos)
            nEnd = bytes.size();
        const std::string line = bytes.substr(at, nEnd - at - (bytes[nEnd - 1] == '\r'));
        RecordedCopy copy;
        size_t nAt = 0;
        copy.facts.bExists = true;
        if (ReadNumber(line, &nAt, &copy.facts.nBytes) &&
            ReadNumber(line, &nAt, &copy.facts.nWriteTime) &&
            !(copy.name = FileNameOf(line.substr(nAt))).empty())
            copies.push_back(copy);
    }
    return copies;
}

void MarkOwnCopies(const CString& drive, std::vector<RootEntry>* pRoot) {
    std::unordered_map<std::wstring, FileFacts> recorded;
    for (const RecordedCopy& copy : ParseCopyRecord(ReadRecord(JoinPath(drive, kCopyRecord))))
        recorded[FileNameKey(copy.name)] = copy.facts;
    for (RootEntry& entry : *pRoot) {
        auto copy = recorded.find(FileNameKey(AnsiToWide(entry.name)));
        // Within the times of a copy and its source: FAT keeps local time to 2 s, and a change
        // to daylight-saving time since moves the time the system reports by an hour.
        entry.bOwn =
            entry.bSpelled && copy != recorded.end() && IsEarlierCopyOf(entry.facts, copy->second);
    }
}

COwnCopies::COwnCopies(const std::vector<CString>& names) {
    for (const CString& name : names)
        Arrived(name);
}

bool COwnCopies::Holds(const CString& name) const {
    return m_keys.count(FileNameKey(AnsiToWide(name))) != 0;
}

void COwnCopies::Arrived(const CString& name) { m_keys.insert(FileNameKey(AnsiToWide(name))); }

void COwnCopies::Renamed(const CString& from, const CString& to) {
    if (m_keys.erase(FileNameKey(AnsiToWide(from))))
        Arrived(to);
}

void COwnCopies::Removed(const CString& name) { m_keys.erase(FileNameKey(AnsiToWide(name))); }

bool COwnCopies::Write(const CString& drive, const std::vector<RootEntry>& root) const {
    std::vector<RecordedCopy> copies;
    for (const RootEntry& entry : root) {
        if (entry.facts.bExists && entry.bSpelled && Holds(entry.name))
            copies.push_back({AnsiToWide(entry.name), entry.facts});
    }
    const CString record = JoinPath(drive, kCopyRecord), next = JoinPath(drive, kNextRecord);
    const DWORD dwAttributes = ::GetFileAttributesA(record);
    const std::string bytes = FormatCopyRecord(copies);
    RemoveFile(next);  // what a write that was cut off left
    {
        const CHandle hNext(::CreateFileA(next, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_HIDDEN, nullptr));
        DWORD nWritten = 0;
        if (hNext.IsNull() ||
            !::WriteFile(hNext, bytes.data(), static_cast<DWORD>(bytes.size()), &nWritten,
                         nullptr) ||
            nWritten != bytes.size() || !::FlushFileBuffers(hNext)) {
            RemoveFile(next);
            return false;
        }
    }
    // A read-only record would refuse its replacement.
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesA(record, FILE_ATTRIBUTE_HIDDEN);
    if (::MoveFileExA(next, record, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    RemoveFile(next);
    return false;
}
