#pragma once

// The caption of the program's windows and message boxes.
inline constexpr wchar_t kApplicationTitle[] = L"Palvenor";
