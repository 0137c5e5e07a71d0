#include "platform/OutputFolder.h"

namespace platform {

bool IsPlainName(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
#ifdef _WIN32
  return name.find_first_of(u"\\/:") == std::u16string_view::npos;
#else
  return name.find(u'/') == std::u16string_view::npos;
#endif
}

}  // namespace platform
