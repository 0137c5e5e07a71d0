#include "platform/Folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Utf.h"

namespace platform {
namespace {

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return {};
}

// A relative XDG_CONFIG_HOME is invalid and must be ignored.
std::string ConfigFolder(const std::string& home) {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/') return config;
  return home + "/.config";
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

// One line of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Documents" or an absolute path in quotes,
// with backslash escapes. Anything else is not a usable entry.
std::optional<std::string> DocumentsEntry(std::string_view line, const std::string& home) {
  line = SkipBlanks(line);
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR";
  if (!line.starts_with(kKey)) return std::nullopt;
  line = SkipBlanks(line.substr(kKey.size()));
  if (!line.starts_with('=')) return std::nullopt;
  line = SkipBlanks(line.substr(1));
  if (!line.starts_with('"')) return std::nullopt;
  line.remove_prefix(1);

  std::string path;
  if (line.starts_with("$HOME") && (line.size() == 5 || line[5] == '/' || line[5] == '"')) {
    path = home;
    line.remove_prefix(5);
  } else if (!line.starts_with('/')) {
    return std::nullopt;
  }
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') {
      while (path.size() > 1 && path.back() == '/') path.pop_back();
      return path;
    }
    if (line[i] == '\\' && i + 1 < line.size()) ++i;
    path += line[i];
  }
  return std::nullopt;  // no closing quote
}

std::optional<std::string> XdgDocumentsFolder(const std::string& home) {
  std::ifstream file(ConfigFolder(home) + "/user-dirs.dirs");
  std::optional<std::string> folder;
  std::string line;
  // The file is shell syntax: a later assignment wins.
  while (std::getline(file, line)) {
    if (auto entry = DocumentsEntry(line, home)) folder = std::move(entry);
  }
  return folder;
}

}  // namespace

std::u16string DocumentsFolder() {
  const std::string home = HomeFolder();
  if (home.empty()) return {};
  if (const auto documents = XdgDocumentsFolder(home); documents && IsFolder(*documents)) {
    return FromPathBytes(*documents);
  }
  return FromPathBytes(home);
}

}  // namespace platform
