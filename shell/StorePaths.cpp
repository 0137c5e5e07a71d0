#include "shell/StorePaths.h"

#include <memory>

#include "engine/StoreNames.h"
#include "engine/Texts.h"
#include "platform/win32/FileCalls.h"
#include "platform/win32/Wide.h"

namespace {

bool IsExistingFile(const std::u16string& path) {
  const DWORD attributes = platform::win32::AttributesAt(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsExistingFolder(const std::u16string& path) {
  const DWORD attributes = platform::win32::AttributesAt(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

struct LocalFreer {
  void operator()(LPWSTR* arguments) const { LocalFree(arguments); }
};

}  // namespace

// One file keeps what it always could be: any file, as the chooser's file dialog allows.
std::optional<std::u16string> StorePathRefusal(const std::vector<std::u16string>& paths, Language language) {
  if (paths.empty()) return Text(WindowText::OneStoreOnly, language);
  if (paths.size() == 1 && IsExistingFolder(paths.front())) return std::nullopt;
  for (const std::u16string& path : paths) {
    if (paths.size() > 1 && IsExistingFolder(path)) return Text(TextId::OneFolderAlone, language);
    if (!IsExistingFile(path)) return Text(WindowText::StoreMissing, language, {path});
    if (paths.size() > 1 && !IsDbxFileName(FileNameOf(path))) return Text(TextId::OnlyDbxFiles, language, {path});
  }
  return std::nullopt;
}

std::u16string JoinStorePaths(const std::vector<std::u16string>& paths) {
  std::u16string joined;
  for (const std::u16string& path : paths) joined += (joined.empty() ? u"" : std::u16string(1, u'\0')) + path;
  return joined;
}

std::vector<std::u16string> JoinedStorePaths(const std::u16string& joined) {
  std::vector<std::u16string> paths;
  std::size_t start = 0;
  for (std::size_t end; (end = joined.find(u'\0', start)) != std::u16string::npos; start = end + 1)
    paths.push_back(joined.substr(start, end - start));
  paths.push_back(joined.substr(start));
  return paths;
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
