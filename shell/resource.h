#pragma once
// Resource identifiers shared by Palvenor.rc and the windows.

#define IDI_PALVENOR 1
#define IDR_MAINMENU 100

#define IDM_FILE_EXIT 40001
#define IDM_HELP_HELP 40002
#define IDM_HELP_ABOUT 40003
