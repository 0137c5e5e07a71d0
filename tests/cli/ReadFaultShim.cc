// Preloaded into palvenor-cli by a test: pread of the file PALVENOR_BAD_FILE fails with EIO where it
// reaches a range of PALVENOR_BAD_RANGES ("offset+length,..."), after a short read of the bytes before
// it, as on a disk with bad sectors. With PALVENOR_COUNT_READS set, its reads are counted on stderr.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Faults {
  struct stat file {};
  bool active = false;
  std::vector<std::pair<long long, long long>> ranges;  // begin, end
};

Faults Read() {
  Faults made;
  const char* name = std::getenv("PALVENOR_BAD_FILE");
  made.active = name != nullptr && ::stat(name, &made.file) == 0;
  for (const char* at = std::getenv("PALVENOR_BAD_RANGES"); at != nullptr && *at != '\0';) {
    char* end = nullptr;
    const long long offset = std::strtoll(at, &end, 0);
    made.ranges.emplace_back(offset, offset + std::strtoll(end + 1, &end, 0));
    at = *end == ',' ? end + 1 : end;
  }
  return made;
}

std::atomic<long> reads{0}, failed{0};

ssize_t FaultyPread(const char* name, int fd, void* buffer, size_t count, off_t offset) {
  const auto real = reinterpret_cast<ssize_t (*)(int, void*, size_t, off_t)>(::dlsym(RTLD_NEXT, name));
  static const Faults faults = Read();
  struct stat info {};
  if (!faults.active || ::fstat(fd, &info) != 0 || info.st_ino != faults.file.st_ino || info.st_dev != faults.file.st_dev)
    return real(fd, buffer, count, offset);
  ++reads;
  long long firstBad = offset + static_cast<long long>(count);
  for (const auto& [begin, end] : faults.ranges)
    if (begin < firstBad && end > offset) firstBad = begin > offset ? begin : offset;
  if (firstBad == offset && count > 0) {
    ++failed;
    errno = EIO;
    return -1;
  }
  return real(fd, buffer, static_cast<size_t>(firstBad - offset), offset);
}

__attribute__((destructor)) void ReportCounts() {
  if (std::getenv("PALVENOR_COUNT_READS") != nullptr)
    std::fprintf(stderr, "reads of the store: %ld, failed: %ld\n", reads.load(), failed.load());
}

}  // namespace

extern "C" ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
  return FaultyPread("pread", fd, buffer, count, offset);
}
extern "C" ssize_t pread64(int fd, void* buffer, size_t count, off_t offset) {
  return FaultyPread("pread64", fd, buffer, count, offset);
}
