#ifndef _WIN32
#include "tests/faults/OrdinaryUser.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace faulttest {
namespace {

constexpr uid_t kNobody = 65534;
constexpr char kCouldNotSwitch = '\x01';

void WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
    if (put <= 0) return;
    done += static_cast<std::size_t>(put);
  }
}

}  // namespace

ChildOutcome RunAsOrdinaryUser(const std::function<std::string()>& body) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {std::nullopt, std::string("pipe: ") + std::strerror(errno)};
  const pid_t child = ::fork();
  if (child < 0) return {std::nullopt, std::string("fork: ") + std::strerror(errno)};
  if (child == 0) {
    ::close(pipeFds[0]);
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      WriteAll(pipeFds[1], std::string(1, kCouldNotSwitch) + std::strerror(errno));
      ::_exit(1);
    }
    WriteAll(pipeFds[1], body());
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!text.empty() && text[0] == kCouldNotSwitch) return {std::nullopt, "cannot become nobody: " + text.substr(1), true};
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {std::nullopt, "the child process failed"};
  return {text, {}};
}

void OpenToOthers(const std::string& folder) { ::chmod(folder.c_str(), 0755); }

}  // namespace faulttest
#endif
