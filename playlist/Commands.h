// The window's commands, said once: each one's key, its item in the list's context menu, and
// from these its tooltip and the name screen readers say. A key sends the command to the
// window as its menu item does.
#pragma once

#include "framework/Menu.h"
#include "framework/String.h"

// What the window holds when its menu opens, which decides the commands that can act.
struct CommandState {
    int nCount = 0;       // rows
    int nFirst = -1;      // the first selected row, -1 for none
    int nLast = -1;       // the last selected row
    bool bDrive = false;  // a drive is selected
    bool bCanUndo = false;
    bool bCanRedo = false;
};

// The modifiers a command's key is pressed with.
const UINT kNoModifier = 0, kCtrl = 1, kAlt = 2, kShift = 4;

enum class KeyScope {
    kWindow,  // anywhere in the window
    kList,    // while the list has the focus
};

enum class MenuPlace {
    kMenu,       // an item of the context menu
    kSubmenu,    // the context menu's item that opens the submenu of the kInSubmenu rows after it
    kInSubmenu,  // an item of that submenu
};

struct Command {
    UINT nID;              // 0: a line between the menu's items
    const char* lpszText;  // the menu item, its access key marked with &
    UINT nKey;             // a virtual key, 0 for none
    UINT fModifiers;
    KeyScope scope;
    MenuPlace place;
    bool (*pfnCanAct)(const CommandState& state);
};

// The command of a key pressed with these modifiers, with the focus in the list or elsewhere;
// nullptr for none.
const Command* CommandOfKey(UINT nKey, UINT fModifiers, bool bInList);
// Fills an empty popup menu with every command, greyed where it cannot act in this state.
void FillCommandMenu(CMenu& menu, const CommandState& state);
// "Add Files": the menu's text without its access key and dots.
CString CommandName(UINT nID);
// "Add Files (Ins)": the name and the key, for a tooltip.
CString CommandTip(UINT nID);
