// A scratch folder for a test's source files, emptied and removed afterwards.
#pragma once

#include "copy/CopyRecord.h"
#include "framework/KernelHandle.h"

#include <algorithm>

#include <string>
#include <vector>

namespace test {

class TempFolder {
public:
    explicit TempFolder(const std::string& name) {
        char temp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, temp);
        m_path =
            std::string(temp) + "ovelo-" + name + "-" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(m_path.c_str(), nullptr);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { RemoveContents(m_path); }

    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const { return m_path + "\\" + name; }

    // Writes a file and returns its full path.
    std::string CreateFile(const std::string& name, const std::string& content) const {
        std::string path = PathOf(name);
        WriteFile(path, content.data(), content.size());
        return path;
    }

    // Creates or replaces a file with the given bytes; false if they were not all written.
    static bool WriteFile(const std::string& path, const char* data, size_t size) {
        const CHandle hFile(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        return !hFile.IsNull() &&
               ::WriteFile(hFile, data, static_cast<DWORD>(size), &written, nullptr) &&
               written == size;
    }

    // Deletes every file directly inside folder; with the folder itself unless keepFolder.
    static void RemoveContents(const std::string& folder, bool keepFolder = false) {
        WIN32_FIND_DATAA found;
        const CFindHandle hFind(::FindFirstFileA((folder + "\\*").c_str(), &found));
        if (!hFind.IsNull()) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    !IsVolumeLabel(folder, found))
                    ::DeleteFileA((folder + "\\" + found.cFileName).c_str());
            } while (::FindNextFileA(hFind, &found));
        }
        if (!keepFolder)
            ::RemoveDirectoryA(folder.c_str());
    }

    // The names of the files directly inside folder, sorted, without the program's record of
    // its copies.
    static std::vector<std::string> FileNames(const std::string& folder);

    // TRUE for the empty file that some FAT drivers list in a drive's root under the volume's
    // label: it belongs to the volume, not to the test.
    static bool IsVolumeLabel(const std::string& folder, const WIN32_FIND_DATAA& found) {
        char label[MAX_PATH] = "";
        return folder.size() == 2 && folder[1] == ':' && found.nFileSizeLow == 0 &&
               found.nFileSizeHigh == 0 &&
               ::GetVolumeInformationA((folder + "\\").c_str(), label, MAX_PATH, nullptr, nullptr,
                                       nullptr, nullptr, 0) &&
               *label && std::string(label) == found.cFileName;
    }

    // Whether a file in folder keeps the read-only and hidden attributes; some FAT and exFAT
    // drivers keep none.
    static bool KeepsAttributes(const std::string& folder) {
        const std::string probe = folder + "\\attributes.probe";
        const DWORD dwWanted = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
        const bool bKept = WriteFile(probe, "", 0) &&
                           ::SetFileAttributesA(probe.c_str(), dwWanted) &&
                           (::GetFileAttributesA(probe.c_str()) & dwWanted) == dwWanted;
        ::SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(probe.c_str());
        return bKept;
    }

    static std::string ReadFile(const std::string& path) {
        std::string content;
        const CHandle hFile(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
        if (hFile.IsNull())
            return "<missing>";
        char buffer[4096];
        DWORD got = 0;
        while (::ReadFile(hFile, buffer, sizeof(buffer), &got, nullptr) && got > 0)
            content.append(buffer, got);
        return content;
    }

private:
    std::string m_path;
};

inline std::vector<std::string> TempFolder::FileNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const CFindHandle hFind(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!hFind.IsNull()) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !IsVolumeLabel(folder, found) && std::string(found.cFileName) != kCopyRecord)
                names.push_back(found.cFileName);
        } while (::FindNextFileA(hFind, &found));
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace test
