#pragma once
#include <string>

namespace platform {

// folder + name with exactly one path separator between them.
std::u16string JoinPath(const std::u16string& folder, const std::u16string& name);

}  // namespace platform
