#include "tests/support/RenamePassModel.h"

#include "engine/naming/FileNaming.h"
#include "engine/naming/NamePlan.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace testsupport {
namespace {

// Renames to text + ".eml", or with the first free clash suffix; nullopt leaves the working name.
std::optional<std::u16string> RenameAfterSubject(const std::u16string& from, const std::u16string& folder,
                                                 const std::u16string& text, ClashSuffixes& suffixes) {
  if (IsRefusedNameText(text)) return std::nullopt;
  for (std::int32_t k = 0;;) {
    const std::optional<std::u16string> name = SuffixedFileName(text, k);
    if (!name) return std::nullopt;
    platform::OsError ignored;
    switch (platform::RenameNoReplace(from, platform::JoinPath(folder, *name), ignored)) {
      case platform::RenameResult::Renamed:
        if (k > 0) suffixes.Taken(text, k);
        return name;
      case platform::RenameResult::TargetExists:
        k = k == 0 ? suffixes.FirstCandidate(text) : k + 1;
        break;
      case platform::RenameResult::Failed:
        return std::nullopt;
    }
  }
}

}  // namespace

std::vector<std::u16string> RenameWorkingFiles(const std::u16string& folder,
                                               const std::vector<std::optional<std::u16string>>& texts) {
  ClashSuffixes suffixes;
  std::vector<std::u16string> names;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (!texts[i]) continue;
    const std::u16string working = WorkingFileName(static_cast<std::int32_t>(i + 1));
    names.push_back(RenameAfterSubject(platform::JoinPath(folder, working), folder, *texts[i], suffixes).value_or(working));
  }
  return names;
}

}  // namespace testsupport
