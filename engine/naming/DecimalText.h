#pragma once
#include <cstdint>
#include <string>

// Plain decimal, as every number shown to the user and every "(k)" of a name.
std::u16string DecimalText(std::int64_t value);
