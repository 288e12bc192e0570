// Resource and command identifiers shared by the .rc file and the code.
#pragma once

#define IDM_ABOUTBOX 0x0010
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_PLAYLIST_DIALOG 102
#define IDR_MAINFRAME 128
#define IDR_TOOLBAR 129
#define IDB_TOOLBAR_NORMAL 132
#define IDB_TOOLBAR_DISABLED 134
#define IDI_MOVE_UP 135
#define IDI_MOVE_DOWN 136
#define IDI_CLEAR 137
#define IDI_REMOVE 138

#define IDC_DRIVE_COMBO 1001
#define IDC_CAPACITY_TEXT 1004
#define IDC_BANNER 1006
#define IDC_INFO_LABEL 1007
#define IDC_TITLE_LABEL 1008
#define IDC_PLAYLIST 1009
#define IDC_REFRESH 1010
#define IDC_MOVE_UP 1012
#define IDC_MOVE_DOWN 1013
#define IDC_REMOVE 1014
#define IDC_CLEAR 1015
#define IDC_PROGRESS 1016
#define IDC_ADD_PREFIX 1017

#define ID_ADD_FILES 32771
#define ID_FORMAT_DEVICE 32772
#define ID_COPY_FILES 32773
#define ID_OPEN_DEVICE 32774

// Commands of the list's context menu beyond the toolbar's and the buttons'.
#define ID_OPEN_PLAYLIST 32780
#define ID_SAVE_PLAYLIST 32781
#define ID_EDIT_UNDO 32790
#define ID_EDIT_REDO 32791
#define ID_EDIT_SELECT_ALL 32792
#define ID_SORT_BY_NAME 32793
#define ID_SORT_BY_TAGS 32794
#define ID_SORT_BY_FOLDER 32795
#define ID_SORT_REVERSE 32796
#define ID_CHECK_DEVICE 32797
