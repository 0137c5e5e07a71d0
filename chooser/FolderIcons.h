#pragma once
// The six 16 x 16 pictures of the chooser's list, numbered by file category 1 to 6.
#include <windows.h>
#include <commctrl.h>

HIMAGELIST CreateFolderImages();
