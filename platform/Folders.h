#pragma once
#include <string>

namespace platform {

// The user's documents folder, the default place for recovered mail: the Personal shell folder on
// Windows; elsewhere the XDG documents folder, or the home folder when that is not set or missing.
// Empty only when not even the home folder is known.
[[nodiscard]] std::u16string DocumentsFolder();

}  // namespace platform
