// A disk with bad sectors, as the kernel sees one: a FUSE file system whose root is one file, an image,
// served without the page cache so that every read the kernel makes reaches it. A read that touches a
// bad 512-byte sector fails with EIO after the given delay; the most reads any bad sector has seen is
// kept in a counter file.
//   Usage: failing-disk-fs IMAGE FIRST_BAD_SECTOR BAD_SECTORS DELAY_MS COUNTER_FILE MOUNTPOINT [FUSE options]
#define FUSE_USE_VERSION 31
#include <fcntl.h>
#include <fuse3/fuse.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Disk {
  int image = -1;
  off_t firstBad = 0;
  off_t badCount = 0;
  int delayMs = 0;
  std::string counter;
  std::vector<int> reads;  // per bad sector
};
Disk disk;

int GetAttr(const char*, struct stat* info, fuse_file_info*) {
  if (::fstat(disk.image, info) != 0) return -errno;
  info->st_mode = S_IFREG | 0444;
  return 0;
}

int Open(const char*, fuse_file_info* file) {
  file->direct_io = 1;
  return 0;
}

int Read(const char*, char* out, size_t size, off_t offset, fuse_file_info*) {
  const off_t first = std::max(offset / 512, disk.firstBad);
  const off_t last = std::min((offset + static_cast<off_t>(size) - 1) / 512, disk.firstBad + disk.badCount - 1);
  if (first > last) {
    const ssize_t got = ::pread(disk.image, out, size, offset);
    return got < 0 ? -errno : static_cast<int>(got);
  }
  for (off_t sector = first; sector <= last; ++sector) ++disk.reads[static_cast<size_t>(sector - disk.firstBad)];
  const std::string most = std::to_string(*std::max_element(disk.reads.begin(), disk.reads.end()));
  const int counter = ::open(disk.counter.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (counter >= 0 && ::write(counter, most.data(), most.size()) >= 0) ::close(counter);
  ::usleep(static_cast<useconds_t>(disk.delayMs) * 1000);
  return -EIO;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7) return 2;
  disk.image = ::open(argv[1], O_RDONLY);
  disk.firstBad = std::atoll(argv[2]);
  disk.badCount = std::atoll(argv[3]);
  disk.delayMs = std::atoi(argv[4]);
  disk.counter = argv[5];
  disk.reads.assign(static_cast<size_t>(std::max<off_t>(disk.badCount, 1)), 0);
  if (disk.image < 0) return 2;
  fuse_operations operations{};
  operations.getattr = GetAttr;
  operations.open = Open;
  operations.read = Read;
  // The program's name, then the mount point and FUSE's own options; served in one thread, in the foreground.
  std::vector<char*> fuseArgs = {argv[0], argv[6], const_cast<char*>("-f"), const_cast<char*>("-s")};
  fuseArgs.insert(fuseArgs.end(), argv + 7, argv + argc);
  return fuse_main(static_cast<int>(fuseArgs.size()), fuseArgs.data(), &operations, nullptr);
}
