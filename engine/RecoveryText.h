#pragma once
// Pieces of the run's texts that are not sentences: numbers and the output folder's name.
#include <cstdint>
#include <string>

// The output folder's name before its date and time; it names files, so it is the same in every language.
inline const std::u16string kOutputFolderPrefix = u"メール復元";

// Plain decimal, as every number shown to the user.
std::u16string DecimalText(std::int64_t value);
