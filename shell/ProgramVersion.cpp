#include "shell/ProgramVersion.h"

std::u16string VersionLine(std::u16string_view title, const ProgramVersion& version, Language language) {
  const auto number = [](int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
  };
  const std::u16string numbers = number(version.major) + u"." + number(version.minor) + u"." + number(version.revision);
  return Text(WindowText::VersionLine, language, {title, numbers});
}
