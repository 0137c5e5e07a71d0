#include "platform/Folders.h"

#include <shlobj.h>

#include "platform/win32/Wide.h"

namespace platform {

std::u16string DocumentsFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return win32::FromWide(path);
}

}  // namespace platform
