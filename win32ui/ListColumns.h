#pragma once
// The columns of a report-style list view, as a window's design gives them.
#include <windows.h>
#include <commctrl.h>

#include <span>

#include "windowtexts/WindowTexts.h"

struct ListColumn {
  WindowText caption;
  int widthTwips;
  int format;  // LVCFMT_LEFT or LVCFMT_RIGHT
};

// Inserts the columns in order, captions in the language, widths for dpi.
void InsertListColumns(HWND list, std::span<const ListColumn> columns, Language language, UINT dpi);
