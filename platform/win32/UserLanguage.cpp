#include "platform/UserLanguage.h"

#include <windows.h>

namespace platform {

bool UserReadsJapanese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE; }

}  // namespace platform
