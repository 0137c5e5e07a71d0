#include "shell/BrowseForFolder.h"

#include <shlobj.h>

#include <memory>

#include "platform/win32/Wide.h"

namespace {

struct ItemListDeleter {
  void operator()(ITEMIDLIST* item) const { CoTaskMemFree(item); }
};

}  // namespace

std::u16string BrowseForFolder(HWND owner, const std::u16string& title) {
  BROWSEINFOW request{};
  request.hwndOwner = owner;
  request.lpszTitle = platform::win32::Wide(title);
  request.ulFlags = BIF_RETURNONLYFSDIRS;
  const std::unique_ptr<ITEMIDLIST, ItemListDeleter> item(SHBrowseForFolderW(&request));
  if (!item) return {};
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(item.get(), path)) return {};
  return platform::win32::FromWide(path);
}
