#include "engine/naming/NamePlan.h"

#include <optional>

#include "engine/naming/DecimalText.h"
#include "engine/naming/FileNaming.h"
#include "engine/naming/NameKey.h"

namespace {

constexpr std::u16string_view kExtension = u".eml";

// Every planned name ends in ".eml", so the key of the rest stands for the name and costs less.
std::u16string StemKey(std::u16string_view name) { return NameKey(name.substr(0, name.size() - kExtension.size())); }

}  // namespace

std::u16string WorkingFileName(std::int32_t record) {
  return u"Recover" + DecimalText(record) + std::u16string(kExtension);
}

NamePlan::NamePlan(std::vector<bool> kept)
    : kept_(std::move(kept)), workingPrefixKey_(NameKey(u"Recover")) {}

std::u16string NamePlan::Decide(std::int32_t record, std::u16string_view text) {
  if (IsRefusedNameText(text)) return KeepWorkingName(record);
  for (std::int32_t k = 0;;) {
    const std::optional<std::u16string> name = SuffixedFileName(text, k);
    if (!name) return KeepWorkingName(record);
    if (!IsTaken(*name, record)) {
      taken_.Insert(StemKey(*name));
      if (k > 0) lastSuffix_[clashedTexts_.Find(NameKey(text))] = k;
      return *name;
    }
    if (k == 0) {
      const std::uint32_t clashed = clashedTexts_.Insert(NameKey(text));
      if (clashed == lastSuffix_.size()) lastSuffix_.push_back(0);
      k = lastSuffix_[clashed] + 1;
    } else {
      ++k;
    }
  }
}

std::optional<std::u16string> NamePlan::DecideAgain(std::int32_t record, std::u16string_view text,
                                                   std::u16string_view taken) {
  // The taken name is already in the set, so deciding again passes over it.
  if (taken == WorkingFileName(record)) return std::nullopt;
  return Decide(record, text);
}

std::u16string NamePlan::KeepWorkingName(std::int32_t record) {
  std::u16string name = WorkingFileName(record);
  taken_.Insert(StemKey(name));
  return name;
}

bool NamePlan::IsTaken(const std::u16string& name, std::int32_t record) const {
  // Renaming a file to its own name is refused as taken; to a variant in case it is not.
  if (name == WorkingFileName(record)) return true;
  const std::u16string stem = StemKey(name);
  if (taken_.Find(stem) != NameKeySet::kAbsent) return true;
  return WorkingRecordOf(stem) > record;
}

std::int32_t NamePlan::WorkingRecordOf(std::u16string_view stem) const {
  if (!stem.starts_with(workingPrefixKey_)) return 0;
  const std::u16string_view digits = stem.substr(workingPrefixKey_.size());
  // Decimal without leading zeros, as working names are written, and not beyond the last record.
  if (digits.empty() || digits.size() > 10 || digits.front() == u'0') return 0;
  std::int64_t number = 0;
  for (const char16_t digit : digits) {
    if (digit < u'0' || digit > u'9') return 0;
    number = number * 10 + (digit - u'0');
  }
  if (number >= static_cast<std::int64_t>(kept_.size()) || !kept_[static_cast<std::size_t>(number)]) return 0;
  return static_cast<std::int32_t>(number);
}
