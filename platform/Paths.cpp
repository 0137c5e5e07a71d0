#include "platform/Paths.h"

#include "platform/Files.h"

namespace platform {

std::u16string JoinPath(const std::u16string& folder, const std::u16string& name) {
  if (!folder.empty() && folder.back() == kPathSeparator) return folder + name;
  return folder + kPathSeparator + name;
}

}  // namespace platform
