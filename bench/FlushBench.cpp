// What putting a run's files on the disk costs: one flush of the file system (what a run does)
// against an fsync per file, for N files of about a message's size.
//   flush_bench [FOLDER] [N]
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::u16string> WriteFiles(const fs::path& folder, int count) {
  fs::create_directories(folder);
  const std::string bytes(1100, 'm');
  std::vector<std::u16string> files;
  for (int i = 0; i < count; ++i) {
    const fs::path file = folder / ("Recover" + std::to_string(i + 1) + ".eml");
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return {};
    ::close(fd);
    files.push_back(file.u16string());
  }
  return files;
}

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "palvenor-flush-bench";
  const int count = argc > 2 ? std::stoi(argv[2]) : 2000;
  ::sync();

  const auto once = WriteFiles(root / "once", count);
  auto start = std::chrono::steady_clock::now();
  platform::OsError error;
  const bool flushed = platform::FlushToDisk(
      (root / "once").u16string(),
      [&once](const platform::FileVisitor& visit) {
        for (const std::u16string& file : once) visit(file);
      },
      error);
  if (!flushed) std::fprintf(stderr, "the flush failed\n");
  const double flushOnce = Milliseconds(std::chrono::steady_clock::now() - start);

  const auto each = WriteFiles(root / "each", count);
  start = std::chrono::steady_clock::now();
  for (const std::u16string& file : each) {
    const int fd = ::open(fs::path(file).c_str(), O_WRONLY);
    ::fsync(fd);
    ::close(fd);
  }
  const double flushEach = Milliseconds(std::chrono::steady_clock::now() - start);

  std::printf("%d files of 1100 bytes: one file-system flush %.1f ms, fsync per file %.1f ms\n", count, flushOnce,
              flushEach);
  fs::remove_all(root);
  return 0;
}
