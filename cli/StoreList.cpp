#include "cli/StoreList.h"

#include "cli/CliTexts.h"
#include "platform/FolderListing.h"

namespace cli {
namespace {

void AppendFolderStores(const std::u16string& folder, Language language, std::vector<BatchStore>& stores) {
  platform::OsError error;
  const std::optional<std::vector<BatchStore>> found = FolderStores(folder, error);
  if (!found) {
    stores.push_back({folder, false, UiMessage{CliText(CliTextId::FolderUnreadable, language, {folder}),
                                               MessageIcon::Exclamation, MessageButtons::Ok, error.text}});
    return;
  }
  if (found->empty()) {
    stores.push_back({folder, false, UiMessage{CliText(CliTextId::FolderWithoutStores, language, {folder}),
                                               MessageIcon::Exclamation, MessageButtons::Ok, {}}});
    return;
  }
  stores.insert(stores.end(), found->begin(), found->end());
}

}  // namespace

std::vector<BatchStore> ExpandStores(const std::vector<std::u16string>& arguments, Language language) {
  std::vector<BatchStore> stores;
  for (const std::u16string& argument : arguments) {
    if (platform::IsFolder(argument)) {
      AppendFolderStores(argument, language, stores);
    } else {
      // Anything else is taken for a store; one that cannot be opened is reported when its turn comes.
      stores.push_back({argument, false, std::nullopt});
    }
  }
  return stores;
}

}  // namespace cli
