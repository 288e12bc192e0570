// The drive list and capacity text against the test prefix's drives:
// E: and G: removable, F: fixed.
#include "res/resource.h"
#include "tests/drives/DriveChecks.h"
#include "tests/support/ModalRunner.h"
#include "tests/support/PlaylistDlgProbe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using test::Capacity;
using test::Entries;
using test::ExpectCapacityOf;
using test::QueryCapacity;

TEST(DriveList, TestPrefixHasTheDrivesTheseTestsExpect) {
    EXPECT_EQ(::GetDriveTypeA("E:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
    EXPECT_EQ(::GetDriveTypeA("G:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
    EXPECT_EQ(::GetDriveTypeA("F:\\"), static_cast<UINT>(DRIVE_FIXED));
}

TEST(DriveList, RemovableDrivesListedInLetterOrderFirstSelectedWithCapacity) {
    Capacity before = QueryCapacity("E:\\");
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        EXPECT_EQ(Entries(dlg.m_driveCombo), (std::vector<std::string>{"E:", "G:"}));
        EXPECT_EQ(dlg.m_driveCombo.GetCurSel(), 0);
        EXPECT_EQ(std::string(dlg.m_driveCombo.GetWindowText()), "E:");
        ExpectCapacityOf("E:\\", before, dlg.m_capacityText.GetWindowText());
    });
}

TEST(DriveList, RefreshRebuildsWithoutSelectionAndKeepsTheCapacityText) {
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        std::string before = static_cast<LPCSTR>(dlg.m_capacityText.GetWindowText());
        dlg.m_driveCombo.AddString("X:");  // a stale entry that the rebuild must drop
        dlg.Notify(IDC_REFRESH, BN_CLICKED);
        EXPECT_EQ(Entries(dlg.m_driveCombo), (std::vector<std::string>{"E:", "G:"}));
        EXPECT_EQ(dlg.m_driveCombo.GetCurSel(), CB_ERR);
        EXPECT_EQ(std::string(dlg.m_capacityText.GetWindowText()), before);
        EXPECT_EQ(dlg.FillDriveList(), 2);
    });
}

TEST(DriveList, PickingAnEntryShowsItsCapacity) {
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        dlg.m_capacityText.SetWindowText("stale");
        dlg.m_driveCombo.SetCurSel(1);
        Capacity before = QueryCapacity("G:\\");
        dlg.Notify(IDC_DRIVE_COMBO, CBN_SELCHANGE);
        ExpectCapacityOf("G:\\", before, dlg.m_capacityText.GetWindowText());
    });
}

TEST(DriveList, NoSelectionLeavesTheCapacityTextAlone) {
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        dlg.m_driveCombo.SetCurSel(-1);
        dlg.m_capacityText.SetWindowText("kept");
        dlg.Notify(IDC_DRIVE_COMBO, CBN_SELCHANGE);
        EXPECT_EQ(std::string(dlg.m_capacityText.GetWindowText()), "kept");
    });
}

TEST(CapacityText, MegabytesAreSixtyFourBitAndTruncated) {
    EXPECT_STREQ(FormatCapacityText(0, 16000000000ULL), "Free: 0 MB, Total: 15258 MB");
    EXPECT_STREQ(FormatCapacityText(1048575, 1048576), "Free: 0 MB, Total: 1 MB");
    EXPECT_STREQ(FormatCapacityText(4294967296ULL, 4294967296ULL), "Free: 4096 MB, Total: 4096 MB");
    EXPECT_STREQ(FormatCapacityText(18446744073709551615ULL, 0),
                 "Free: 17592186044415 MB, Total: 0 MB");
}

// Run with the removable drives unmapped (see ctest.cmake).
TEST(NoRemovableDrive, ListIsEmptyNothingSelectedCapacityEmpty) {
    test::PlaylistDlgProbe dlg;
    test::RunModal(dlg, [&] {
        EXPECT_EQ(dlg.m_driveCombo.GetCount(), 0);
        EXPECT_EQ(dlg.m_driveCombo.GetCurSel(), CB_ERR);
        EXPECT_EQ(std::string(dlg.m_capacityText.GetWindowText()), "");
        EXPECT_EQ(dlg.FillDriveList(), 0);
        // The rest of the window is set up as usual.
        EXPECT_EQ(dlg.m_addPrefixCheck.GetCheck(), BST_CHECKED);
        EXPECT_TRUE(::IsWindow(dlg.m_toolBar.m_hWnd));
    });
}

}  // namespace
