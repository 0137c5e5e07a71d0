#include "ChildProcess.h"

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string_view>
#include <utility>

namespace clitest {
namespace {

// A file descriptor closed when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  Fd& operator=(Fd&& other) noexcept {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
    return *this;
  }
  ~Fd() { Close(); }
  int Get() const { return fd_; }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

void Drain(int fd, std::string& into) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) return;
    into.append(buffer, static_cast<std::size_t>(n));
  }
}

// The parent's environment with the message locale replaced by LANG=`lang`. Made before the fork, since
// the child may not allocate.
std::vector<std::string> ChildEnvironment(const std::string& lang) {
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string_view entry(*variable);
    if (!entry.starts_with("LC_ALL=") && !entry.starts_with("LC_MESSAGES=") && !entry.starts_with("LANG="))
      environment.emplace_back(entry);
  }
  environment.push_back("LANG=" + lang);
  return environment;
}

void MakePipe(int fds[2]) {
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
}

}  // namespace

ChildResult RunChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const ChildOptions& options) {
  int outPipe[2];
  int errPipe[2];
  MakePipe(outPipe);
  Fd outRead(outPipe[0]);
  Fd outWrite(outPipe[1]);
  Fd errRead;
  Fd errWrite;
  if (options.stderrTerminal) {
    Fd master(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (master.Get() < 0 || ::grantpt(master.Get()) != 0 || ::unlockpt(master.Get()) != 0) {
      throw std::runtime_error("no pseudo-terminal");
    }
    Fd slave(::open(::ptsname(master.Get()), O_RDWR | O_NOCTTY | O_CLOEXEC));
    errRead = std::move(master);
    errWrite = std::move(slave);
  } else {
    MakePipe(errPipe);
    errRead = Fd(errPipe[0]);
    errWrite = Fd(errPipe[1]);
  }
  ::fcntl(errRead.Get(), F_SETFL, O_NONBLOCK);

  std::vector<char*> argv;
  const std::string programText = program.string();
  argv.push_back(const_cast<char*>(programText.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> environment = ChildEnvironment(options.lang);
  environment.insert(environment.end(), options.environment.begin(), options.environment.end());
  std::vector<char*> envp;
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    ::dup2(outWrite.Get(), STDOUT_FILENO);
    ::dup2(errWrite.Get(), STDERR_FILENO);
    ::signal(SIGINT, SIG_DFL);
    if (options.fileSizeLimit) {
      // As a shell leaves it: the program itself must keep the signal from killing it.
      ::signal(SIGXFSZ, SIG_DFL);
      const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  outWrite.Close();
  errWrite.Close();

  ChildResult result;
  int status = 0;
  for (;;) {
    Drain(outRead.Get(), result.out);
    Drain(errRead.Get(), result.err);
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (options.whileRunning) options.whileRunning(pid);
    ::usleep(1000);
  }
  Drain(outRead.Get(), result.out);
  Drain(errRead.Get(), result.err);
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

}  // namespace clitest
#endif
