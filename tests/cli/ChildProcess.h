#pragma once
// Runs the built palvenor-cli as a child process (POSIX), with its output captured.
#ifndef _WIN32
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace clitest {

struct ChildOptions {
  // stderr on a pseudo-terminal instead of a pipe, so that the program sees a terminal.
  bool stderrTerminal = false;
  // RLIMIT_FSIZE for the child, with SIGXFSZ at its default action, which ends the process.
  std::optional<unsigned long> fileSizeLimit;
  // Called every millisecond while the child runs; it may signal the child.
  std::function<void(pid_t)> whileRunning;
  // The child's LANG, with LC_ALL and LC_MESSAGES unset: the language of its messages. The locale need
  // not be installed; the program only reads the name.
  std::string lang = "ja_JP.UTF-8";
  // More variables for the child, "NAME=value" each.
  std::vector<std::string> environment;
};

struct ChildResult {
  int exitStatus = -1;  // the exit code, or 128 + the signal that ended the child
  std::string out;
  std::string err;
};

ChildResult RunChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const ChildOptions& options = {});

}  // namespace clitest
#endif
