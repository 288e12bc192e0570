// Base of every object with a message map.
#pragma once

#include "framework/MsgMap.h"

class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Runs the entries for the message along the chain of maps, most derived first,
    // until one keeps it; nCode and nID must match for WM_COMMAND and WM_NOTIFY entries.
    // FALSE when none did (there was none, or every handler declined).
    BOOL DispatchMessageEntry(UINT nMessage, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam,
                              LRESULT* pResult);

    // Runs the handler of command nID with notification code nCode; FALSE when there is none.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
