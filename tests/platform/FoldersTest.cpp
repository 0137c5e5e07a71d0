#include "platform/Folders.h"

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "platform/Utf.h"

#ifndef _WIN32
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>
#endif

namespace {

#ifdef _WIN32

TEST(DocumentsFolder, IsAnExistingFolder) {
  const std::u16string documents = platform::DocumentsFolder();
  ASSERT_FALSE(documents.empty());
  EXPECT_TRUE(platform::PathExists(documents)) << platform::ToUtf8(documents);
}

#else

namespace fs = std::filesystem;

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

enum class ConfigHome { Unset, Absolute, Relative };

struct XdgCase {
  const char* name;
  ConfigHome configHome;
  std::optional<std::string> userDirs;  // user-dirs.dirs content; absent when nullopt
  std::vector<std::string> folders;      // created under HOME ("@" stands for an absolute temp folder)
  std::string expected;                  // relative to HOME; "" is HOME itself; "@..." absolute
};

class XdgDocumentsFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/palvenor-folders-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    fs::create_directories(root_ / "home");
    fs::create_directories(root_ / "elsewhere");
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path root_;
};

std::string Expand(const std::string& text, const fs::path& home, const fs::path& elsewhere) {
  if (text.starts_with("@")) return (elsewhere / text.substr(1)).string();
  return text.empty() ? home.string() : (home / text).string();
}

TEST_F(XdgDocumentsFolder, FollowsUserDirsOrFallsBackToHome) {
  const XdgCase cases[] = {
      {"no config file", ConfigHome::Unset, std::nullopt, {}, ""},
      {"relative to HOME", ConfigHome::Unset, "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", {"Documents"}, "Documents"},
      {"named folder missing", ConfigHome::Unset, "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", {}, ""},
      {"Japanese name", ConfigHome::Unset, "XDG_DOCUMENTS_DIR=\"$HOME/ドキュメント\"\n", {"ドキュメント"},
       "ドキュメント"},
      {"absolute path", ConfigHome::Unset, "XDG_DOCUMENTS_DIR=\"@/docs\"\n", {"@docs"}, "@docs"},
      {"XDG_CONFIG_HOME is read", ConfigHome::Absolute, "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", {"Docs"}, "Docs"},
      {"relative XDG_CONFIG_HOME ignored", ConfigHome::Relative, "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", {"Docs"}, ""},
      {"comments and other entries",
       ConfigHome::Unset,
       "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n  XDG_DOCUMENTS_DIR = \"$HOME/文書\"\n"
       "XDG_MUSIC_DIR=\"$HOME/Music\"\n",
       {"Desktop", "文書", "Music"},
       "文書"},
      {"commented-out entry", ConfigHome::Unset, "#XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", {"Documents"}, ""},
      {"escaped characters", ConfigHome::Unset, "XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\" \\$x\"\n",
       {"My \"Docs\" $x"}, "My \"Docs\" $x"},
      {"relative path is invalid", ConfigHome::Unset, "XDG_DOCUMENTS_DIR=\"Documents\"\n", {"Documents"}, ""},
      {"unquoted value is invalid", ConfigHome::Unset, "XDG_DOCUMENTS_DIR=$HOME/Documents\n", {"Documents"}, ""},
      {"missing closing quote", ConfigHome::Unset, "XDG_DOCUMENTS_DIR=\"$HOME/Documents\n", {"Documents"}, ""},
      {"HOME itself (disabled)", ConfigHome::Unset, "XDG_DOCUMENTS_DIR=\"$HOME/\"\n", {}, ""},
      {"trailing slash dropped", ConfigHome::Unset, "XDG_DOCUMENTS_DIR=\"$HOME/Documents/\"\n", {"Documents"},
       "Documents"},
      {"later entry wins", ConfigHome::Unset,
       "XDG_DOCUMENTS_DIR=\"$HOME/First\"\nXDG_DOCUMENTS_DIR=\"$HOME/Second\"\n", {"First", "Second"}, "Second"},
      {"similar key ignored", ConfigHome::Unset, "XDG_DOCUMENTS_DIRX=\"$HOME/Documents\"\n", {"Documents"}, ""},
  };
  for (const XdgCase& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path home = root_ / "home";
    const fs::path elsewhere = root_ / "elsewhere";
    fs::remove_all(home);
    fs::remove_all(elsewhere);
    fs::create_directories(home);
    fs::create_directories(elsewhere);
    for (const std::string& folder : c.folders) fs::create_directories(Expand(folder, home, elsewhere));

    std::optional<std::string> configHome;
    fs::path configFolder = home / ".config";
    if (c.configHome == ConfigHome::Absolute) {
      configFolder = root_ / "config";
      configHome = configFolder.string();
    } else if (c.configHome == ConfigHome::Relative) {
      // Written where a relative value would point if it were wrongly taken from the working folder.
      configHome = "relative-config";
      configFolder = root_ / "relative-config";
      fs::create_directories(home / ".config");
    }
    fs::remove_all(configFolder);
    if (c.userDirs) {
      std::string content = *c.userDirs;
      if (const auto at = content.find("\"@"); at != std::string::npos) {
        content.replace(at + 1, 1, elsewhere.string());
      }
      fs::create_directories(configFolder);
      std::ofstream(configFolder / "user-dirs.dirs") << content;
    }

    const fs::path previous = fs::current_path();
    fs::current_path(root_);
    const ScopedEnv homeEnv("HOME", home.string());
    const ScopedEnv configEnv("XDG_CONFIG_HOME", configHome);
    const std::u16string documents = platform::DocumentsFolder();
    fs::current_path(previous);
    EXPECT_EQ(platform::ToUtf8(documents), Expand(c.expected, home, elsewhere));
  }
}

#endif

}  // namespace
