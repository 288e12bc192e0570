// The record a drive keeps of the copies this program made in its root: each one's name, size
// and time as the drive listed them after the run that made, renamed or recognised them. An
// update removes or replaces only a file that the record names and that is still as recorded;
// whatever else the root holds is the user's. The record is a hidden file of its own beside
// the staging folder, written beside itself and renamed into place, so that a stop or a pulled
// drive leaves the old record or the new one whole. It is read as no more than names with
// sizes and times: a damaged, foreign or oversized record names fewer copies, never a file that
// the root does not hold as recorded.
#pragma once

#include "copy/DriveFiles.h"

#include <string>
#include <unordered_set>

// The record's name in the root: hidden, and of a kind no player takes for media.
extern const char kCopyRecord[];

struct RecordedCopy {
    std::wstring name;
    FileFacts facts;
};

// The record's bytes for these copies, and the copies that bytes names: lines that do not
// read as a size, a time and a file name are passed over.
std::string FormatCopyRecord(const std::vector<RecordedCopy>& copies);
std::vector<RecordedCopy> ParseCopyRecord(const std::string& bytes);

// Marks the entries of drive's root that its record names with their size and time (bOwn).
void MarkOwnCopies(const CString& drive, std::vector<RootEntry>* pRoot);

// The names of the program's own copies in a drive's root, followed through a run's steps.
class COwnCopies {
public:
    explicit COwnCopies(const std::vector<CString>& names);

    bool Holds(const CString& name) const;
    void Arrived(const CString& name);
    void Renamed(const CString& from, const CString& to);
    void Removed(const CString& name);
    // Writes the record of those that root, as listed, holds, with their size and time.
    bool Write(const CString& drive, const std::vector<RootEntry>& root) const;

private:
    std::unordered_set<std::wstring> m_keys;  // of each name (FileNameKey)
};
