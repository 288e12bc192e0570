// Check Device without a window: the drive checked against the list, writing nothing. Each
// row's copy is found as an update finds it, read back past the system's cache and compared
// with the row's file as it is now.
#pragma once

#include "copy/CopyRunner.h"

struct DeviceCheck {
    UINT nMatching = 0;              // copies equal to their files
    std::vector<CString> different;  // copies whose bytes are not their files', or unreadable
    std::vector<CString> missing;    // the names of rows' copies that the drive does not hold
    std::vector<CString> elsewhere;  // rows' copies standing under another name, as they do
    UINT nChecked = 0;               // copies read back, of nToCheck
    UINT nToCheck = 0;
    bool bStopped = false;

    bool AllMatch() const { return different.empty() && missing.empty() && elsewhere.empty(); }
    // "Complete", or "Stopped, N of M copies checked".
    CString Summary() const;
};

// Checks the copies of rows, named with their positions where bPrefix is set, on drive; the
// observer is told of each copy's check and asked whether to stop. Rows whose files cannot be
// read, and rows of a name an earlier row has, are left out.
DeviceCheck CheckDevice(const CString& drive, const std::vector<CopyRow>& rows, BOOL bPrefix,
                        CCopyObserver& observer);

// The message after a check that was not stopped: that all copies match, or what does not,
// naming up to five of each kind.
CString DescribeDeviceCheck(const CString& drive, const DeviceCheck& check);
