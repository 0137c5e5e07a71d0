// palvenor-cli over a disk whose bad sectors fail in the kernel: a FUSE file read through a loop device as
// a block device, or holding an ext4 with the store. A bad 512-byte sector costs its 512 bytes and one
// message at most, and is read three times at most; a Ctrl-C while many are retried is answered at once.
#if defined(__linux__) && defined(PALVENOR_FAILING_DISK_FS)
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>

#include "ChildProcess.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Undoes a mount or a loop device when the row ends, however it ends.
struct Undo { std::function<void()> undo; ~Undo() { undo(); } };

int Shell(const std::string& command) { return std::system(command.c_str()); }

TEST(FailingDisk, BadSectorsCostTheirOwnBytesAndAreReadThreeTimesAtMost) {
  if (::geteuid() != 0 || !fs::exists("/dev/fuse") || Shell("command -v losetup mkfs.ext4 >/dev/null") != 0)
    GTEST_SKIP() << "needs root, /dev/fuse, loop devices and mkfs.ext4";
  const testsupport::TempFolder temp;
  testsupport::DbxWriter writer;
  int total = 0;
  for (; writer.Size() < 3 << 20; ++total)
    writer.AppendMessage(testsupport::MakeMessage("m" + std::to_string(total), 3000, static_cast<std::uint32_t>(total)));
  const fs::path store = temp.Path() / "files" / "store.dbx";
  fs::create_directory(store.parent_path());
  writer.Save(store);
  const auto bytes = testsupport::ReadFileBytes(store);
  const struct {
    const char* name;
    bool ext4;  // the store is a file on an ext4, else the loop device is the store
    std::int64_t firstBad, badSectors;
    int delayMs;  // for each failed read; such rows are interrupted after 2 s, when the first window's
                  // messages are found even on a loaded machine
    std::string expected;  // on stderr, or on stdout after an interrupt
  } rows[] = {
      {"block device", false, 0x100200, 1, 0, "Unreadable: 512 bytes at 0x100200"},
      {"ext4", true, 0x100200, 1, 0, "Unreadable: 512 bytes at 0x100200"},
      {"stop while retrying", false, 0x100000, 2048, 10,
       "The retries around unreadable places were stopped; the rest was not tried."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const fs::path folder = temp.Path() / row.name;
    fs::create_directories(folder / "out");
    const fs::path image = row.ext4 ? folder / "ext4.img" : store;
    std::int64_t firstBad = row.firstBad;
    if (row.ext4) {
      ASSERT_EQ(Shell("mkfs.ext4 -q -F -d '" + store.parent_path().string() + "' '" + image.string() + "' 8M"), 0);
      // Where the store's bytes at firstBad lie on the disk.
      const auto onDisk = testsupport::ReadFileBytes(image);
      firstBad = std::search(onDisk.begin(), onDisk.end(), bytes.begin() + firstBad, bytes.begin() + firstBad + 512) - onDisk.begin();
    }
    const fs::path disk = folder / "disk", counter = folder / "reads", loop = folder / "loop", mounted = folder / "ext4";
    std::ofstream(disk).close();
    const std::string sectors = std::to_string(firstBad / 512) + " " + std::to_string(row.badSectors) + " ";
    ASSERT_EQ(Shell("'" PALVENOR_FAILING_DISK_FS "' '" + image.string() + "' " + sectors + std::to_string(row.delayMs) +
                  " '" + counter.string() + "' '" + disk.string() + "' &"), 0);
    // The server ends when its file system is unmounted.
    const Undo unmountDisk{[&] { ::umount2(disk.c_str(), MNT_DETACH); }};
    for (int i = 0; i < 500 && fs::file_size(disk) == 0; ++i) std::this_thread::sleep_for(10ms);
    ASSERT_EQ(Shell("losetup -r -f --show '" + disk.string() + "' >'" + loop.string() + "' 2>/dev/null"), 0);
    std::string device;
    std::ifstream(loop) >> device;
    const Undo detach{[&] { Shell("losetup -d " + device); }};
    // Without the kernel's own reads ahead, which meet bad sectors while the program reads good ones,
    // the disk sees what the program asks for, and each failed read through the cache twice.
    ASSERT_EQ(Shell("blockdev --setra 0 " + device), 0);
    const Undo unmount{[&] { ::umount2(mounted.c_str(), MNT_DETACH); }};
    if (row.ext4) {
      fs::create_directory(mounted);
      ASSERT_EQ(Shell("mount -o ro,noload " + device + " '" + mounted.string() + "'"), 0);
    }

    clitest::ChildOptions options;
    options.lang = "en_US.UTF-8";
    const auto start = std::chrono::steady_clock::now();
    options.whileRunning = [&, sent = false](pid_t pid) mutable {
      if (row.delayMs > 0 && !sent && std::chrono::steady_clock::now() - start > 2s) sent = ::kill(pid, SIGINT) == 0;
    };
    const clitest::ChildResult child = clitest::RunChild(
        PALVENOR_CLI_PROGRAM, {"--no-freed", "--output", (folder / "out").string(), row.ext4 ? (mounted / "store.dbx").string() : device}, options);
    if (row.delayMs > 0) {
      // The whole stretch takes 20 s at the least.
      EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
      EXPECT_EQ(child.exitStatus, 130) << child.err;
      EXPECT_NE(child.out.find(row.expected), std::string::npos) << child.out;
      EXPECT_FALSE(fs::is_empty(*fs::directory_iterator(folder / "out")));
      continue;
    }
    EXPECT_EQ(child.exitStatus, 6) << child.err;
    EXPECT_NE(child.err.find(row.expected), std::string::npos) << child.err;
    int found = 0, cutShort = 0, reads = 0;
    std::sscanf(child.out.c_str(), "Messages found: %d. Cut short: %d", &found, &cutShort);
    EXPECT_GE(found, total - 1) << child.out;
    EXPECT_LE(cutShort, 1) << child.out;
    std::ifstream(counter) >> reads;
    EXPECT_LE(reads, 3);
  }
}

}  // namespace
#endif
