#include "copy/VolumeLimits.h"

#include "copy/CopyNames.h"
#include "copy/CopyRecord.h"
#include "copy/DiskDirectory.h"
#include "copy/StagedCopy.h"

#include <cstring>
#include <map>
#include <set>

namespace {

const ULONGLONG kFatLargestFile = 0xFFFFFFFFULL;  // the size field has 32 bits
const UINT kFat32FolderEntries = 65536;
const ULONGLONG kMiB = 1 << 20;

bool IsShortNameChar(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           (ch != '\0' && std::strchr("!#$%&'()-@^_`{}~", ch) != nullptr);
}

// The volume's serial number, file system and label, as the system names them.
VolumeFacts Identify(const CString& drive) {
    VolumeFacts facts;
    char label[MAX_PATH + 1] = "", name[MAX_PATH + 1] = "";
    facts.bIdentified =
        ::GetVolumeInformationA(DriveRoot(drive), label, sizeof(label), &facts.nSerial, nullptr,
                                nullptr, name, sizeof(name)) != FALSE;
    if (facts.bIdentified) {
        const CString fileSystem = name;
        facts.label = label;
        facts.fileSystem = fileSystem == "FAT"     ? FileSystem::kFat
                           : fileSystem == "FAT32" ? FileSystem::kFat32
                           : fileSystem == "exFAT" ? FileSystem::kExFat
                                                   : FileSystem::kOther;
    }
    return facts;
}

}  // namespace

VolumeFacts ReadVolumeFacts(const CString& drive) {
    VolumeFacts facts = Identify(drive);
    if (facts.fileSystem == FileSystem::kFat) {
        if (const UINT nEntries = CDiskDirectory(drive).RootEntryCount())
            facts.nRootEntries = nEntries;
    }
    ULARGE_INTEGER total, totalFree;
    // A drive that holds nothing at all is not telling the truth about its space either.
    facts.bFreeKnown =
        ::GetDiskFreeSpaceExA(DriveRoot(drive), nullptr, &total, &totalFree) && total.QuadPart > 0;
    facts.nFreeBytes = facts.bFreeKnown ? totalFree.QuadPart : 0;
    return facts;
}

bool IsSameVolume(const CString& drive, const VolumeFacts& facts) {
    const VolumeFacts now = Identify(drive);
    // A volume that the system does not name can only be known by its drive's letter. Wine
    // names a drive whose root has gone as it named it before: the root must be there.
    return now.bIdentified == facts.bIdentified &&
           (!now.bIdentified || (now.nSerial == facts.nSerial &&
                                 now.fileSystem == facts.fileSystem && now.label == facts.label)) &&
           ::GetFileAttributesA(DriveRoot(drive)) != INVALID_FILE_ATTRIBUTES;
}

std::vector<RootEntry> ListRootInOrder(const CString& drive, const VolumeFacts& facts,
                                       bool* pOrderKnown) {
    bool bDiskOrder = false;
    std::vector<RootEntry> root = ListRoot(drive, &bDiskOrder);
    *pOrderKnown = bDiskOrder || (facts.fileSystem != FileSystem::kOther &&
                                  facts.fileSystem != FileSystem::kUnknown);
    return root;
}

bool IsTooLargeFor(const VolumeFacts& facts, ULONGLONG nBytes) {
    return (facts.fileSystem == FileSystem::kFat || facts.fileSystem == FileSystem::kFat32) &&
           nBytes > kFatLargestFile;
}

UINT FolderEntriesOf(const CString& name) {
    const int nLength = name.GetLength();
    const int nDot = name.ReverseFind('.');
    const int nBase = nDot < 0 ? nLength : nDot;
    bool bShort = nBase >= 1 && nBase <= 8 &&
                  (nDot < 0 || (nLength - nDot - 1 >= 1 && nLength - nDot - 1 <= 3));
    for (int i = 0; bShort && i < nLength; ++i)
        bShort = i == nDot || IsShortNameChar(name[i]);
    if (bShort)
        return 1;
    const UINT nUnits = static_cast<UINT>(AnsiToWide(name).size());
    return 1 + (nUnits + 12) / 13;
}

std::vector<CString> LimitsMet(const CString& drive, const VolumeFacts& facts,
                               const std::vector<RootEntry>& root, const RootLoad& load) {
    std::vector<CString> lines;
    const bool bFat = facts.fileSystem == FileSystem::kFat;
    const bool bFat32 = facts.fileSystem == FileSystem::kFat32;
    std::vector<const RootLoad::Copy*> copies, tooLarge;
    for (const RootLoad::Copy& copy : load.copies)
        (IsTooLargeFor(facts, copy.nBytes) ? tooLarge : copies).push_back(&copy);

    if (bFat || bFat32) {
        std::set<std::wstring, FileNameLess> held;
        long long nFree = bFat ? facts.nRootEntries : kFat32FolderEntries;
        for (const RootEntry& entry : root) {
            held.insert(AnsiToWide(entry.name));
            nFree -= FolderEntriesOf(entry.name);
        }
        // The label takes an entry of its own, unless the drive lists it as a file.
        if (!facts.label.IsEmpty() && !held.count(AnsiToWide(facts.label)))
            --nFree;
        // The folders and files of the program's own: the next copy record is written into
        // the entries that the staging folder leaves.
        for (const char* lpszOwn : {kStagingFolder, kCopyRecord}) {
            if (!held.count(AnsiToWide(lpszOwn)))
                nFree -= FolderEntriesOf(lpszOwn);
        }
        for (const CString& name : load.namesGone) {
            held.erase(AnsiToWide(name));
            nFree += FolderEntriesOf(name);
        }
        for (const CString& name : load.namesAdded) {
            held.insert(AnsiToWide(name));
            nFree -= FolderEntriesOf(name);
        }
        unsigned nFit = 0;
        for (const RootLoad::Copy* copy : copies) {
            // A copy under a name the root holds takes that file's entries.
            const bool bNewName = held.insert(AnsiToWide(copy->name)).second;
            if (bNewName && (nFree -= FolderEntriesOf(copy->name)) < 0)
                break;
            ++nFit;
        }
        if (nFit < copies.size()) {
            CString line;
            line.Format(bFat ? "Only %u of these %u files fit into the root folder of %s. The root "
                               "folder of a FAT drive holds a fixed number of names; Format "
                               "Device with FAT32 lifts the limit."
                             : "Only %u of these %u files fit into the root folder of %s. A folder "
                               "of a FAT32 drive holds at most 65,536 names; Format Device with "
                               "exFAT lifts the limit.",
                        nFit, static_cast<unsigned>(copies.size()), static_cast<LPCSTR>(drive));
            lines.push_back(line);
        }
    }

    if (!tooLarge.empty()) {
        std::vector<CString> names;
        for (const RootLoad::Copy* copy : tooLarge)
            names.push_back(copy->fileName);
        const bool bOne = tooLarge.size() == 1;
        CString line;
        line.Format("%u of these files %s 4 GB or larger, which a %s drive cannot store: %s. %s "
                    "not be copied; Format Device with exFAT lifts the limit.",
                    static_cast<unsigned>(tooLarge.size()), bOne ? "is" : "are",
                    bFat ? "FAT" : "FAT32", static_cast<LPCSTR>(ListOfNames(names, 3)),
                    bOne ? "It will" : "They will");
        lines.push_back(line);
    }

    ULONGLONG nNeeded = 0;
    for (const RootLoad::Copy* copy : copies)
        nNeeded += copy->nBytes;
    const ULONGLONG nFree = facts.nFreeBytes + load.nBytesFreed;
    if (facts.bFreeKnown && nNeeded > nFree) {
        CString line;
        line.Format("These files need %I64u MB, but %s has %I64u MB free.", nNeeded / kMiB,
                    static_cast<LPCSTR>(drive), nFree / kMiB);
        lines.push_back(line);
    }
    return lines;
}

RootLoad LoadOfPlan(const UpdatePlan& plan, const std::vector<CopyRow>& rows,
                    const std::vector<RootEntry>& root) {
    RootLoad load;
    std::map<std::wstring, ULONGLONG, FileNameLess> sizes;
    for (const RootEntry& entry : root)
        sizes[AnsiToWide(entry.name)] = entry.facts.nBytes;
    for (const UpdateStep& step : plan.steps) {
        if (step.kind == UpdateStep::Kind::kCopy) {
            const CopyRow& row = rows[static_cast<size_t>(step.nRow)];
            if (row.source.bExists)
                load.copies.push_back({step.to, row.fileName, row.source.nBytes});
            continue;
        }
        load.namesGone.push_back(step.from);
        if (step.kind == UpdateStep::Kind::kRename)
            load.namesAdded.push_back(step.to);
        else
            load.nBytesFreed += sizes[AnsiToWide(step.from)];
    }
    return load;
}
