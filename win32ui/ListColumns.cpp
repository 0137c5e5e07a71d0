#include "win32ui/ListColumns.h"

#include <string>

#include "platform/win32/Wide.h"
#include "win32ui/Twips.h"

void InsertListColumns(HWND list, std::span<const ListColumn> columns, Language language, UINT dpi) {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = columns[i].format;
    column.cx = TwipsToPixels(columns[i].widthTwips, dpi);
    std::u16string caption = Text(columns[i].caption, language);
    column.pszText = platform::win32::WideBuffer(caption);
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}
