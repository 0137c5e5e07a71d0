#pragma once
// Final file names decided in memory, record by record, exactly as renaming each working file
// "Recover" + N + ".eml" in turn without replacing anything would name them, but without a file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/naming/NameKeySet.h"

// "Recover" + record + ".eml", the name a kept record has until it takes its final one.
std::u16string WorkingFileName(std::int32_t record);

class NamePlan {
 public:
  // kept[n] tells whether record n (1 to C; element 0 unused) is kept. The working name of every kept
  // record counts as present until that record has its final name.
  explicit NamePlan(std::vector<bool> kept);

  // The final name of the kept record, given in ascending record order, each once, with its name text
  // FileNameText(subject): text + ".eml", or on a clash text + "(k)" + ".eml" with the first free k
  // from 1. The working name stays where the text is refused (IsRefusedNameText) or the name would
  // pass 255 UTF-8 bytes. Names are compared through NameKey; a record's own working name counts as
  // taken when spelt exactly alike.
  std::u16string Decide(std::int32_t record, std::u16string_view text);
  // The next name for the record whose decided name turned out to exist already (a file the plan did
  // not know of): the next free one by the same rules; nullopt when that name was its working name.
  std::optional<std::u16string> DecideAgain(std::int32_t record, std::u16string_view text, std::u16string_view taken);

 private:
  std::u16string KeepWorkingName(std::int32_t record);
  bool IsTaken(const std::u16string& name, std::int32_t record) const;
  // The kept record whose working name has this stem key, or 0.
  std::int32_t WorkingRecordOf(std::u16string_view stem) const;

  const std::vector<bool> kept_;
  const std::u16string workingPrefixKey_;
  NameKeySet taken_;  // the stem keys (".eml" left off) of the names decided so far
  // The texts that clashed, with the last suffix each took: every suffix up to it is taken, and
  // suffixed names are never freed, so the search goes on beyond it.
  NameKeySet clashedTexts_;
  std::vector<std::int32_t> lastSuffix_;
};
