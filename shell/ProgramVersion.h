#pragma once
// The program's name and version, the version from the build.
#include <string>
#include <string_view>

// The caption of the program's windows and message boxes.
inline constexpr wchar_t kApplicationTitle[] = L"Palvenor";
#include "windowtexts/WindowTexts.h"

struct ProgramVersion {
  int major;
  int minor;
  int revision;
};

inline constexpr ProgramVersion kProgramVersion{PALVENOR_VERSION_MAJOR, PALVENOR_VERSION_MINOR,
                                                PALVENOR_VERSION_REVISION};

// "　<title> のバージョン： 1.0.34" (an ideographic space first) or "<title> version 1.0.34", the
// numbers in plain decimal.
std::u16string VersionLine(std::u16string_view title, const ProgramVersion& version, Language language);
