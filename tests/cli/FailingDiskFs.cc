// A disk with bad sectors as the kernel sees one: a FUSE file system whose root is one file, an image,
// served past the page cache so that every read the kernel makes reaches it. A read that touches a bad
// 512-byte sector fails with EIO after the delay; the most reads any bad sector saw is kept in a file.
//   Usage: failing-disk-fs IMAGE FIRST_BAD_SECTOR BAD_SECTORS DELAY_MS COUNTER_FILE MOUNTPOINT
#define FUSE_USE_VERSION 31
#include <fcntl.h>
#include <fuse3/fuse.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <string>
#include <vector>

namespace {

int image = -1;
off_t firstBad = 0;
int delayMs = 0;
const char* counter = nullptr;
std::vector<int> reads;  // of each bad sector

int Read(const char*, char* out, size_t size, off_t offset, fuse_file_info*) {
  const off_t first = std::max(offset / 512, firstBad);
  const off_t last = std::min((offset + static_cast<off_t>(size) - 1) / 512, firstBad + static_cast<off_t>(reads.size()) - 1);
  if (first > last) {
    const ssize_t got = ::pread(image, out, size, offset);
    return got < 0 ? -errno : static_cast<int>(got);
  }
  for (off_t sector = first; sector <= last; ++sector) ++reads[static_cast<size_t>(sector - firstBad)];
  std::ofstream(counter) << *std::max_element(reads.begin(), reads.end());
  ::usleep(static_cast<useconds_t>(delayMs) * 1000);
  return -EIO;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7 || (image = ::open(argv[1], O_RDONLY)) < 0) return 2;
  firstBad = std::stoll(argv[2]);
  reads.assign(std::stoul(argv[3]), 0);
  delayMs = std::stoi(argv[4]);
  counter = argv[5];
  fuse_operations operations{};
  operations.getattr = [](const char*, struct stat* info, fuse_file_info*) {
    return ::fstat(image, info) == 0 ? (info->st_mode = S_IFREG | 0444, 0) : -errno;
  };
  operations.open = [](const char*, fuse_file_info* file) { return file->direct_io = 1, 0; };
  operations.read = Read;
  // In the foreground, in one thread.
  char* fuseArgs[] = {argv[0], argv[6], const_cast<char*>("-f"), const_cast<char*>("-s")};
  return fuse_main(4, fuseArgs, &operations, nullptr);
}
