#pragma once
// The sort key of a text in the user's locale: keys compared as unsigned bytes order texts as
// CompareStringEx does, letter case aside.
#include <string>
#include <string_view>

std::string LocaleSortKey(std::u16string_view text);
