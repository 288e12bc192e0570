// The open-file dialog's result buffer: it grows with the choice, and a name that the
// dialog cut off at the buffer's end is never handed out.
#include "framework/FileDialog.h"
#include "tests/support/OpenDialog.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> ChosenPaths(const CFileDialog& dialog) {
    std::vector<std::string> paths;
    for (POSITION pos = dialog.GetStartPosition(); pos;)
        paths.push_back(static_cast<LPCSTR>(dialog.GetNextPathName(pos)));
    return paths;
}

// Selecting in the list grows the buffer at each selection change, before Open is pressed.
TEST(FileDialog, BufferGrowsWithTheSelectionAndEveryNameComesBackWhole) {
    test::TempFolder folder("grow");
    const int nFiles = 100;
    for (int i = 0; i < nFiles; ++i)
        folder.CreateFile(std::string(180, 'a' + i % 26) + std::to_string(i) + ".mp3", "x");
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT,
                       "All Files(*.*)|*.*||");
    char small[1000] = "";
    dialog.m_ofn.lpstrFile = small;
    dialog.m_ofn.nMaxFile = sizeof(small);
    DWORD nMaxFileBeforeOpen = 0;
    test::OpenDialogSeen seen;
    test::ChooseInOpenDialog(
        {folder.Path(), "", nFiles, [&] { nMaxFileBeforeOpen = dialog.m_ofn.nMaxFile; }}, &seen);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_GT(nMaxFileBeforeOpen, static_cast<DWORD>(nFiles * 180));
    std::vector<std::string> paths = ChosenPaths(dialog);
    ASSERT_EQ(paths.size(), static_cast<size_t>(nFiles));
    for (const std::string& path : paths)
        EXPECT_NE(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
}

TEST(FileDialog, NameCutOffAtTheBufferEndIsNeverReturned) {
    struct Case {
        std::string buffer;  // exactly what the dialog left, no zero beyond it
        std::vector<std::string> paths;
    };
    const Case cases[] = {
        {std::string("C:\\m\0a.mp3\0b.mp3\0\0", 19), {"C:\\m\\a.mp3", "C:\\m\\b.mp3"}},
        {std::string("C:\\m\0a.mp3\0b.m", 14), {"C:\\m\\a.mp3"}},
        {std::string("C:\\m\0a.m", 8), {}},
        {std::string("C:\\m\\one.mp3\0", 13), {"C:\\m\\one.mp3"}},
        {std::string("C:\\m\\one.m", 10), {}},
    };
    for (const Case& c : cases) {
        CFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT);
        std::vector<char> buffer(c.buffer.begin(), c.buffer.end());
        buffer.push_back('x');  // what lies beyond the buffer must never be read
        dialog.m_ofn.lpstrFile = buffer.data();
        dialog.m_ofn.nMaxFile = static_cast<DWORD>(c.buffer.size());
        EXPECT_EQ(ChosenPaths(dialog), c.paths) << "buffer of " << c.buffer.size();
    }
}

}  // namespace
