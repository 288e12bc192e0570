// Resources the toolbar tests add to the program's own.
#pragma once

#define IDB_STRIP_130 900   // bitmap 132 with two more columns at the right: four images still
#define IDB_MISSING 901     // no such bitmap
#define IDB_STRIP_1BPP 904  // bitmap 132 at 1, 4, 8 and 16 (5-6-5) bits per pixel
#define IDB_STRIP_4BPP 905
#define IDB_STRIP_8BPP 906
#define IDB_STRIP_16BPP 907
#define IDM_FIRST_MENU 902   // popup "First" with commands 40001 and 40002
#define IDM_SECOND_MENU 903  // popup "Second" with command 40003
#define ID_FIRST_ONE 40001
#define ID_FIRST_TWO 40002
#define ID_SECOND_ONE 40003
