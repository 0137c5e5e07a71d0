#pragma once
// Text to the standard streams of a command-line program.
#include <string_view>

namespace platform {

enum class StandardStream { Output, Error };

// True when the stream is an interactive terminal (a console window on Windows), not a file or pipe.
bool IsTerminal(StandardStream stream);

// UTF-16 through the console API when the stream is a Windows console, UTF-8 bytes everywhere else.
// Returns false when the text could not be written (a closed pipe, a full disk).
bool WriteText(StandardStream stream, std::u16string_view text);

}  // namespace platform
