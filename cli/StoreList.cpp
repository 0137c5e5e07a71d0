#include "cli/StoreList.h"

#include <algorithm>

#include "cli/CliTexts.h"
#include "cli/StoreNames.h"
#include "platform/FolderListing.h"
#include "platform/Paths.h"

namespace cli {
namespace {

void AppendFolderStores(const std::u16string& folder, Language language, std::vector<StoreArgument>& stores) {
  platform::OsError error;
  std::optional<std::vector<std::u16string>> names = platform::FileNamesIn(folder, error);
  if (!names) {
    stores.push_back({folder, UiMessage{CliText(CliTextId::FolderUnreadable, language, {folder}),
                                        MessageIcon::Exclamation, MessageButtons::Ok, error.text}});
    return;
  }
  std::erase_if(*names, [](const std::u16string& name) { return !IsDbxFileName(name); });
  if (names->empty()) {
    stores.push_back({folder, UiMessage{CliText(CliTextId::FolderWithoutStores, language, {folder}),
                                        MessageIcon::Exclamation, MessageButtons::Ok, {}}});
    return;
  }
  std::sort(names->begin(), names->end());
  for (const std::u16string& name : *names) stores.push_back({platform::JoinPath(folder, name), std::nullopt});
}

}  // namespace

std::vector<StoreArgument> ExpandStores(const std::vector<std::u16string>& arguments, Language language) {
  std::vector<StoreArgument> stores;
  for (const std::u16string& argument : arguments) {
    if (platform::IsFolder(argument)) {
      AppendFolderStores(argument, language, stores);
    } else {
      // Anything else is taken for a store; one that cannot be opened is reported when its turn comes.
      stores.push_back({argument, std::nullopt});
    }
  }
  return stores;
}

}  // namespace cli
