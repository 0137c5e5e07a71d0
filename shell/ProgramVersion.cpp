#include "shell/ProgramVersion.h"

std::u16string VersionLine(std::u16string_view title, const ProgramVersion& version) {
  const auto number = [](int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
  };
  return u"\u3000" + std::u16string(title) + u" のバージョン： " + number(version.major) + u"." +
         number(version.minor) + u"." + number(version.revision);
}
