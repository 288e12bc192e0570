// The start-up benchmark's reference: the playlist window's dialog template, shown by the
// platform alone, with a toolbar of the same five buttons and the list's two columns. It does
// nothing else: no drives, no shell icons, no framework.
#include "res/resource.h"

#include <windows.h>

#include <commctrl.h>

#include <initializer_list>

namespace {

void AddToolBar(HWND hDlg) {
    HWND hBar =
        ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                          WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                              CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
                          6, 2, 600, 62, hDlg, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(hBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBADDBITMAP bitmap = {::GetModuleHandleA(nullptr), IDR_TOOLBAR};
    ::SendMessageA(hBar, TB_ADDBITMAP, 4, reinterpret_cast<LPARAM>(&bitmap));
    const int commands[] = {ID_ADD_FILES, ID_COPY_FILES, 0, ID_OPEN_DEVICE, ID_FORMAT_DEVICE};
    const char* const texts[] = {"  Add Files  ", "  Copy Files  ", "", "Open Device",
                                 "Format Device"};
    int nImage = 0;
    for (int i = 0; i < 5; ++i) {
        TBBUTTON button = {};
        button.idCommand = commands[i];
        button.fsStyle = commands[i] ? BTNS_BUTTON : BTNS_SEP;
        button.fsState = TBSTATE_ENABLED;
        button.iBitmap = commands[i] ? nImage++ : 0;
        button.iString = reinterpret_cast<INT_PTR>(texts[i]);
        ::SendMessageA(hBar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    ::SendMessageA(hBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(90, 60));
}

INT_PTR CALLBACK BareProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        AddToolBar(hDlg);
        HWND hList = ::GetDlgItem(hDlg, IDC_PLAYLIST);
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 300;
        for (const char* name : {"FileName", "Path"}) {
            column.pszText = const_cast<LPSTR>(name);
            ::SendMessageA(hList, LVM_INSERTCOLUMNA, column.iSubItem++,
                           reinterpret_cast<LPARAM>(&column));
        }
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    return static_cast<int>(
        ::DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_PLAYLIST_DIALOG), nullptr, BareProc, 0));
}
