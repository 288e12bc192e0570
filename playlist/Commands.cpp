#include "playlist/Commands.h"

#include "res/resource.h"

#include <iterator>

namespace {

bool Always(const CommandState&) { return true; }
bool HasRows(const CommandState& s) { return s.nCount > 0; }
bool HasSelection(const CommandState& s) { return s.nFirst >= 0; }
bool CanMoveUp(const CommandState& s) { return s.nFirst > 0; }
bool CanMoveDown(const CommandState& s) { return s.nFirst >= 0 && s.nLast + 1 < s.nCount; }
bool CanSort(const CommandState& s) { return s.nCount > 1; }
bool CanUndo(const CommandState& s) { return s.bCanUndo; }
bool CanRedo(const CommandState& s) { return s.bCanRedo; }
bool HasDrive(const CommandState& s) { return s.bDrive; }
bool CanCopy(const CommandState& s) { return s.bDrive && s.nCount > 0; }

const KeyScope kWindow = KeyScope::kWindow;
const KeyScope kList = KeyScope::kList;
const MenuPlace kMenu = MenuPlace::kMenu;
const MenuPlace kInSubmenu = MenuPlace::kInSubmenu;
const Command kLine = {0, nullptr, 0, kNoModifier, kWindow, kMenu, Always};

// In the order of the context menu.
const Command kCommands[] = {
    {ID_EDIT_UNDO, "U&ndo", 'Z', kCtrl, kWindow, kMenu, CanUndo},
    {ID_EDIT_REDO, "R&edo", 'Y', kCtrl, kWindow, kMenu, CanRedo},
    kLine,
    {IDC_MOVE_UP, "Move &Up", VK_UP, kAlt, kList, kMenu, CanMoveUp},
    {IDC_MOVE_DOWN, "Move &Down", VK_DOWN, kAlt, kList, kMenu, CanMoveDown},
    {IDC_REMOVE, "&Remove", VK_DELETE, kNoModifier, kList, kMenu, HasSelection},
    {IDC_CLEAR, "&Clear", 0, kNoModifier, kWindow, kMenu, HasRows},
    {ID_EDIT_SELECT_ALL, "Select A&ll", 'A', kCtrl, kList, kMenu, HasRows},
    {0, "Sor&t", 0, kNoModifier, kWindow, MenuPlace::kSubmenu, CanSort},
    {ID_SORT_BY_NAME, "By &Name", 0, kNoModifier, kWindow, kInSubmenu, CanSort},
    {ID_SORT_BY_TAGS, "By &Tags", 0, kNoModifier, kWindow, kInSubmenu, CanSort},
    {ID_SORT_BY_FOLDER, "By &Folder", 0, kNoModifier, kWindow, kInSubmenu, CanSort},
    {0, nullptr, 0, kNoModifier, kWindow, kInSubmenu, Always},
    {ID_SORT_REVERSE, "&Reverse", 0, kNoModifier, kWindow, kInSubmenu, CanSort},
    kLine,
    {ID_OPEN_PLAYLIST, "&Open Playlist...", 'O', kCtrl, kWindow, kMenu, Always},
    {ID_SAVE_PLAYLIST, "&Save Playlist As...", 'S', kCtrl, kWindow, kMenu, HasRows},
    kLine,
    {ID_ADD_FILES, "&Add Files...", VK_INSERT, kNoModifier, kWindow, kMenu, Always},
    {ID_COPY_FILES, "Co&py Files", VK_F5, kNoModifier, kWindow, kMenu, CanCopy},
    // F7: no list, drop-down or dialog of Windows takes it, and it is the key that checks
    // spelling in Windows' office programs; F5 beside it copies.
    {ID_CHECK_DEVICE, "Chec&k Device", VK_F7, kNoModifier, kWindow, kMenu, CanCopy},
    {ID_OPEN_DEVICE, "Open De&vice", 0, kNoModifier, kWindow, kMenu, HasDrive},
    {ID_FORMAT_DEVICE, "&Format Device...", 0, kNoModifier, kWindow, kMenu, HasDrive},
};

const Command* FindCommand(UINT nID) {
    for (const Command& command : kCommands)
        if (command.nID == nID && command.lpszText)
            return &command;
    return nullptr;
}

CString KeyText(const Command& command) {
    static const struct {
        UINT nKey;
        const char* name;
    } kNames[] = {{VK_UP, "Up"}, {VK_DOWN, "Down"}, {VK_DELETE, "Del"}, {VK_INSERT, "Ins"}};
    if (command.nKey == 0)
        return CString();
    CString text;
    text += (command.fModifiers & kCtrl) ? "Ctrl+" : "";
    text += (command.fModifiers & kAlt) ? "Alt+" : "";
    text += (command.fModifiers & kShift) ? "Shift+" : "";
    if (command.nKey >= VK_F1 && command.nKey <= VK_F24) {
        CString name;
        name.Format("F%u", command.nKey - VK_F1 + 1);
        return text + name;
    }
    for (const auto& key : kNames)
        if (key.nKey == command.nKey)
            return text + key.name;
    return text + static_cast<char>(command.nKey);
}

}  // namespace

const Command* CommandOfKey(UINT nKey, UINT fModifiers, bool bInList) {
    for (const Command& command : kCommands)
        if (command.nKey != 0 && command.nKey == nKey && command.fModifiers == fModifiers &&
            (bInList || command.scope == KeyScope::kWindow))
            return &command;
    return nullptr;
}

void FillCommandMenu(CMenu& menu, const CommandState& state) {
    CMenuHandle target(menu.GetSafeHandle());
    for (const Command& command : kCommands) {
        if (command.place != MenuPlace::kInSubmenu)
            target = CMenuHandle(menu.GetSafeHandle());
        const UINT nGrey = command.pfnCanAct(state) ? MF_ENABLED : MF_GRAYED;
        if (!command.lpszText) {
            target.AppendMenu(MF_SEPARATOR);
        } else if (command.place == MenuPlace::kSubmenu) {
            // The menu destroys its submenus with itself.
            target = CMenuHandle(::CreatePopupMenu());
            menu.AppendMenu(MF_POPUP | nGrey, reinterpret_cast<UINT_PTR>(target.GetSafeHandle()),
                            command.lpszText);
        } else {
            const CString key = KeyText(command);
            target.AppendMenu(MF_STRING | nGrey, command.nID,
                              key.IsEmpty() ? CString(command.lpszText)
                                            : CString(command.lpszText) + "\t" + key);
        }
    }
}

CString CommandName(UINT nID) {
    const Command* pCommand = FindCommand(nID);
    CString name;
    for (const char* p = pCommand ? pCommand->lpszText : ""; *p && *p != '.'; ++p)
        if (*p != '&')
            name += *p;
    return name;
}

CString CommandTip(UINT nID) {
    const Command* pCommand = FindCommand(nID);
    const CString key = pCommand ? KeyText(*pCommand) : CString();
    return key.IsEmpty() ? CommandName(nID) : CommandName(nID) + " (" + key + ")";
}
