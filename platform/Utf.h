#pragma once
// UTF-16 <-> UTF-8 at the platform edge (POSIX paths, terminal output, command-line arguments).
#include <string>
#include <string_view>

namespace platform {

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// The same, appended to out: for texts written by the thousand.
void AppendUtf8(std::string& out, std::u16string_view text);
// Invalid sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);

// A POSIX path is bytes, not text: these carry a name that is not UTF-8 (a Shift_JIS name from an old
// disk) through UTF-16 and back unchanged. Each byte that is not part of valid UTF-8 becomes a lone
// U+DC80..U+DCFF, as Python's surrogateescape does; ToUtf8 shows such a byte as U+FFFD.
std::u16string FromPathBytes(std::string_view bytes);
// The reverse; any other unpaired surrogate becomes U+FFFD.
std::string ToPathBytes(std::u16string_view path);

}  // namespace platform
