#pragma once
// Resource identifiers shared by Palvenor.rc and the windows.
#include "win32ui/ProgramIcon.h"

#define IDM_FILE_EXIT 40001
#define IDM_HELP_HELP 40002
#define IDM_HELP_ABOUT 40003
#define IDM_FILE_RESULTS 40004
