#include "copy/GapFillers.h"

#include "copy/DiskDirectory.h"
#include "copy/DriveFiles.h"
#include "framework/KernelHandle.h"

#include <cwctype>

namespace {
// A valid 8.3 name in capitals: one entry on FAT, the fewest that any name takes elsewhere.
const char kFillerFormat[] = "~OVG%04X";
const wchar_t kFillerPrefix[] = L"~OVG";
const size_t kFillerLength = 8;
const size_t kMostFillers = 0x10000;

bool IsFillerName(const wchar_t* pName, size_t nLength) {
    if (nLength != kFillerLength || std::wcsncmp(pName, kFillerPrefix, 4) != 0)
        return false;
    for (size_t i = 4; i < nLength; ++i)
        if (!std::iswxdigit(pName[i]))
            return false;
    return true;
}
}  // namespace

bool CGapFillers::MakeFiller() {
    CString name;
    name.Format(kFillerFormat, static_cast<unsigned>(m_fillers.size()));
    const CHandle hFiller(::CreateFileA(JoinPath(m_drive, name), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (hFiller.IsNull())
        return false;
    m_fillers.push_back(name);
    return true;
}

bool CGapFillers::Fill() {
    const CDiskDirectory disk(m_drive);
    if (!disk.Valid())
        return false;
    // In batches, each twice the one before: the order is read after each.
    for (size_t nBatch = 64; m_fillers.size() < kMostFillers; nBatch *= 2) {
        for (size_t i = 0; i < nBatch && m_fillers.size() < kMostFillers; ++i)
            if (!MakeFiller())
                return false;
        bool bLastIsFiller = false;
        if (!disk.RootOrder([&](const wchar_t* pName, size_t nLength) {
                bLastIsFiller = IsFillerName(pName, nLength);
            }))
            return false;
        if (bLastIsFiller)
            return true;
    }
    return false;
}

void CGapFillers::Remove() {
    for (const CString& name : m_fillers)
        ::DeleteFileA(JoinPath(m_drive, name));
    m_fillers.clear();
}

void RemoveLeftFillers(const CString& drive) {
    WIN32_FIND_DATAW found;
    const CFindHandle hFind(::FindFirstFileW((AnsiToWide(drive) + L"\\~OVG*").c_str(), &found));
    if (hFind.IsNull())
        return;
    do {
        // Only an empty one of the name: a file that holds anything is nobody's filler.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.nFileSizeLow == 0 &&
            found.nFileSizeHigh == 0 && IsFillerName(found.cFileName, std::wcslen(found.cFileName)))
            ::DeleteFileW((AnsiToWide(drive) + L"\\" + found.cFileName).c_str());
    } while (::FindNextFileW(hFind, &found));
}
