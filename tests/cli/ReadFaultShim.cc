// Preloaded into palvenor-cli by a test: pread fails with EIO where it reaches a bad range of one file,
// as on a disk with bad sectors, after the bytes before the range are read (a short read).
// PALVENOR_BAD_FILE names the file, PALVENOR_BAD_RANGES its bad bytes as "offset+length,...".
// With PALVENOR_COUNT_READS set, the reads of that file and the failed ones are counted on stderr at exit.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Range {
  long long begin, end;
};

struct Faults {
  dev_t device = 0;
  ino_t inode = 0;
  bool active = false;
  std::vector<Range> ranges;
  bool count = false;
};

const Faults& TheFaults() {
  static const Faults faults = [] {
    Faults made;
    const char* file = std::getenv("PALVENOR_BAD_FILE");
    struct stat info {};
    if (file == nullptr || ::stat(file, &info) != 0) return made;
    made.device = info.st_dev;
    made.inode = info.st_ino;
    made.active = true;
    made.count = std::getenv("PALVENOR_COUNT_READS") != nullptr;
    for (const char* at = std::getenv("PALVENOR_BAD_RANGES"); at != nullptr && *at != '\0';) {
      char* end = nullptr;
      const long long offset = std::strtoll(at, &end, 0);
      const long long length = std::strtoll(end + 1, &end, 0);
      made.ranges.push_back({offset, offset + length});
      at = *end == ',' ? end + 1 : end;
    }
    return made;
  }();
  return faults;
}

std::atomic<long> reads{0};
std::atomic<long> failed{0};

bool IsTheFile(int fd) {
  const Faults& faults = TheFaults();
  struct stat info {};
  return faults.active && ::fstat(fd, &info) == 0 && info.st_dev == faults.device && info.st_ino == faults.inode;
}

using PreadFunction = ssize_t (*)(int, void*, size_t, off_t);

ssize_t FaultyPread(PreadFunction real, int fd, void* buffer, size_t count, off_t offset) {
  if (!IsTheFile(fd)) return real(fd, buffer, count, offset);
  ++reads;
  const long long begin = offset;
  const long long end = begin + static_cast<long long>(count);
  long long firstBad = end;
  for (const Range& range : TheFaults().ranges)
    if (range.begin < end && range.end > begin && range.begin < firstBad) firstBad = range.begin;
  if (firstBad <= begin) {
    ++failed;
    errno = EIO;
    return -1;
  }
  return real(fd, buffer, static_cast<size_t>(firstBad - begin), offset);
}

PreadFunction Real(const char* name) { return reinterpret_cast<PreadFunction>(::dlsym(RTLD_NEXT, name)); }

__attribute__((destructor)) void ReportCounts() {
  if (TheFaults().count) std::fprintf(stderr, "reads of the store: %ld, failed: %ld\n", reads.load(), failed.load());
}

}  // namespace

extern "C" ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
  static const PreadFunction real = Real("pread");
  return FaultyPread(real, fd, buffer, count, offset);
}

extern "C" ssize_t pread64(int fd, void* buffer, size_t count, off_t offset) {
  static const PreadFunction real = Real("pread64");
  return FaultyPread(real, fd, buffer, count, offset);
}
