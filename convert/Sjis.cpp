#include "convert/Cp932.h"
#include "convert/modConvert.h"

std::u16string SjisToUnicode(ByteView bytes) { return Cp932ToUnicode(bytes); }
