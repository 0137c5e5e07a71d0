#include "platform/Registry.h"

namespace platform {

bool HasRegistry() { return false; }

std::vector<std::u16string> RegistrySubKeyNames(RegistryRoot, const std::u16string&) { return {}; }

std::optional<std::u16string> RegistryString(RegistryRoot, const std::u16string&, const std::u16string&) {
  return std::nullopt;
}

// Registry paths are the only users of these variables, and there is no registry here.
std::u16string FolderVariable(const std::u16string&) { return {}; }

}  // namespace platform
