#include "convert/Cp932.h"
#include "convert/Decoders.h"

std::u16string SjisToUnicode(std::span<const std::uint8_t> bytes) { return Cp932ToUnicode(bytes); }
