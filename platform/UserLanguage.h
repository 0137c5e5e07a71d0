#pragma once
// Whether the user reads the program's messages in Japanese, as the system says.
#include <string_view>

namespace platform {

// The message locale is the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty; an unset
// variable is passed as empty. Japanese when it starts with "ja", so "C", "POSIX" and none at all are not.
bool IsJapaneseMessageLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang);

// The message locale of the environment on POSIX; the user's UI language on Windows.
bool UserReadsJapanese();

}  // namespace platform
