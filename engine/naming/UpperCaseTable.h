#pragma once
// The simple one-to-one uppercase mapping of the BMP, in runs (engine/UpperCaseTable.cpp, generated).
#include <cstdint>
#include <span>

// Every code unit from first to last, or every second one when step is 2, maps to itself + delta.
struct UpperCaseRun {
  char16_t first;
  char16_t last;
  std::int32_t delta;
  std::uint8_t step;
};

// In ascending order of first; no two runs overlap.
std::span<const UpperCaseRun> UpperCaseRuns();
