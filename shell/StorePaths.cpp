#include "shell/StorePaths.h"

#include <memory>

#include "platform/win32/FileCalls.h"
#include "platform/win32/Wide.h"

namespace {

bool IsExistingFile(const std::u16string& path) {
  const DWORD attributes = platform::win32::AttributesAt(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

struct LocalFreer {
  void operator()(LPWSTR* arguments) const { LocalFree(arguments); }
};

}  // namespace

std::optional<std::u16string> StorePathRefusal(const std::vector<std::u16string>& paths, Language language) {
  if (paths.size() != 1) return Text(WindowText::OneStoreOnly, language);
  if (!IsExistingFile(paths.front())) return Text(WindowText::StoreMissing, language, {paths.front()});
  return std::nullopt;
}

std::vector<std::u16string> CommandLinePaths(const wchar_t* commandLine) {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreer> arguments(CommandLineToArgvW(commandLine, &count));
  std::vector<std::u16string> paths;
  for (int i = 1; arguments != nullptr && i < count; ++i) paths.push_back(platform::win32::FromWide(arguments.get()[i]));
  return paths;
}

std::vector<std::u16string> DroppedPaths(HDROP drop) {
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::u16string> paths;
  for (UINT i = 0; i < count; ++i) {
    std::u16string path(DragQueryFileW(drop, i, nullptr, 0), u'\0');
    DragQueryFileW(drop, i, platform::win32::WideBuffer(path), static_cast<UINT>(path.size() + 1));
    paths.push_back(std::move(path));
  }
  return paths;
}
