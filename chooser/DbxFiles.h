#pragma once
// Which store files the chooser lists, in which group, and how it shows their sizes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/StoreNames.h"

// The size column: kilobytes rounded to the nearest whole number (halves up), with thousands separators.
std::u16string FormatKilobytes(std::int64_t bytes);

// One ordinary file of a store folder, as the directory listing returned it.
struct DbxFileEntry {
  std::u16string name;
  std::int64_t bytes = 0;
};

struct DbxFileRow {
  std::u16string name;
  int category = kNotListed;
  std::u16string size;
};

// The rows for a folder's files: grouped by category 1 to 6, the listing's order kept inside each group.
std::vector<DbxFileRow> GroupDbxFiles(const std::vector<DbxFileEntry>& listing);
