#include "engine/modCommon.h"

#include "platform/Files.h"

std::u16string JoinPath(const std::u16string& folder, const std::u16string& name) {
  if (!folder.empty() && folder.back() == platform::kPathSeparator) return folder + name;
  return folder + platform::kPathSeparator + name;
}
