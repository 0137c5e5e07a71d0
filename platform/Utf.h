#pragma once
// UTF-16 <-> UTF-8 at the platform edge (POSIX paths, terminal output, command-line arguments).
#include <string>
#include <string_view>

namespace platform {

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// Invalid sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);

}  // namespace platform
