// palvenor-cli over a disk whose bad sectors fail in the kernel itself: a FUSE file whose reads of them
// fail with EIO, read through a loop device as a block device, or holding an ext4 with the store on it.
// A bad 512-byte sector costs its 512 bytes and at most the message through it, and the disk sees it
// read three times at most; a Ctrl-C while a long stretch is retried is answered at once.
#if defined(__linux__) && defined(PALVENOR_FAILING_DISK_FS)
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
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

// The first line a shell command prints.
std::string FirstLine(const std::string& command) {
  std::string line(256, '\0');
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  if (std::fgets(line.data(), static_cast<int>(line.size()), pipe) == nullptr) line.clear();
  ::pclose(pipe);
  return line.substr(0, line.find_first_of(std::string("\n\0", 2)));
}

// Undoes a mount, a loop device or the disk's server when the test ends, however it ends.
struct Undo {
  std::function<void()> undo;
  ~Undo() { undo(); }
};

struct Row {
  const char* name;
  bool ext4;                  // the store is a file on an ext4; else the loop device is the store
  std::int64_t firstBad;      // offset in the store of the first bad sector
  std::int64_t badSectors;
  int delayMs;                // for each failed read
  bool interrupt;             // Ctrl-C half a second after the start
  std::string expected;       // on stderr, or on stdout after an interrupt
};

TEST(FailingDisk, BadSectorsCostTheirOwnBytesAndAreReadThreeTimesAtMost) {
  if (::geteuid() != 0 || !fs::exists("/dev/fuse") || !fs::exists("/dev/loop-control") ||
      std::system("command -v losetup mkfs.ext4 >/dev/null") != 0)
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
  const Row rows[] = {
      {"block device", false, 0x100200, 1, 0, false, "Unreadable: 512 bytes at 0x100200"},
      {"ext4", true, 0x100200, 1, 0, false, "Unreadable: 512 bytes at 0x100200"},
      {"stop while retrying", false, 0x100000, 2048, 10, true,
       "The retries around unreadable places were stopped; the rest was not tried."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const fs::path folder = temp.Path() / row.name;
    fs::create_directories(folder / "out");
    fs::path image = store;
    std::int64_t firstBad = row.firstBad;
    if (row.ext4) {
      image = folder / "ext4.img";
      ASSERT_EQ(std::system(("mkfs.ext4 -q -F -d '" + store.parent_path().string() + "' '" + image.string() + "' 8M").c_str()), 0);
      // Where the store's bytes at firstBad lie on the disk.
      const auto disk = testsupport::ReadFileBytes(image);
      const auto found = std::search(disk.begin(), disk.end(), bytes.begin() + firstBad, bytes.begin() + firstBad + 512);
      ASSERT_NE(found, disk.end());
      firstBad = found - disk.begin();
    }
    const fs::path mountpoint = folder / "disk";
    const fs::path counter = folder / "reads";
    std::ofstream(mountpoint).close();
    const std::vector<std::string> serve = {PALVENOR_FAILING_DISK_FS, image.string(), std::to_string(firstBad / 512),
                                            std::to_string(row.badSectors), std::to_string(row.delayMs), counter.string(),
                                            mountpoint.string()};
    std::vector<char*> argv;
    for (const std::string& argument : serve) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t server = -1;
    ASSERT_EQ(::posix_spawn(&server, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    const Undo stopServer{[&] {
      ::umount2(mountpoint.c_str(), MNT_DETACH);
      ::kill(server, SIGTERM);
      ::waitpid(server, nullptr, 0);
    }};
    for (int i = 0; i < 500 && fs::file_size(mountpoint) == 0; ++i) std::this_thread::sleep_for(10ms);
    ASSERT_EQ(fs::file_size(mountpoint), fs::file_size(image));
    const std::string loop = FirstLine("losetup -r -f --show '" + mountpoint.string() + "'");
    ASSERT_EQ(loop.rfind("/dev/loop", 0), 0u) << loop;
    const Undo detach{[&] { std::system(("losetup -d " + loop).c_str()); }};
    // The kernel's own reads ahead, which reach bad sectors while the program reads good ones, are not
    // counted: the disk then sees what the program asks for, and each failed read through the cache twice.
    ASSERT_EQ(std::system(("blockdev --setra 0 " + loop).c_str()), 0);
    fs::path storePath = loop;
    const fs::path mounted = folder / "ext4";
    const Undo unmount{[&] { ::umount2(mounted.c_str(), MNT_DETACH); }};
    if (row.ext4) {
      fs::create_directory(mounted);
      ASSERT_EQ(std::system(("mount -o ro,noload " + loop + " '" + mounted.string() + "'").c_str()), 0);
      storePath = mounted / "store.dbx";
    }

    clitest::ChildOptions options;
    options.lang = "en_US.UTF-8";
    const auto start = std::chrono::steady_clock::now();
    if (row.interrupt)
      options.whileRunning = [&, sent = false](pid_t pid) mutable {
        if (!sent && std::chrono::steady_clock::now() - start > 500ms) sent = ::kill(pid, SIGINT) == 0;
      };
    const clitest::ChildResult child = clitest::RunChild(
        PALVENOR_CLI_PROGRAM, {"--no-freed", "--output", (folder / "out").string(), storePath.string()}, options);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::string reads = "0";
    std::ifstream(counter) >> reads;
    if (row.interrupt) {
      // The whole stretch takes 20 s at the least.
      EXPECT_LT(seconds, 10.0);
      EXPECT_EQ(child.exitStatus, 130) << child.err;
      EXPECT_NE(child.out.find(row.expected), std::string::npos) << child.out;
      EXPECT_FALSE(fs::is_empty(*fs::directory_iterator(folder / "out")));
      continue;
    }
    EXPECT_EQ(child.exitStatus, 6) << child.err;
    EXPECT_NE(child.err.find(row.expected), std::string::npos) << child.err;
    EXPECT_NE(child.out.find("Unreadable ranges in the store: 1 (1 KB in all)."), std::string::npos) << child.out;
    int found = 0;
    int cutShort = 0;
    std::sscanf(child.out.c_str(), "Messages found: %d. Cut short: %d", &found, &cutShort);
    EXPECT_GE(found, total - 1) << child.out;
    EXPECT_LE(cutShort, 1) << child.out;
    EXPECT_LE(std::stoi(reads), 3);
  }
}

}  // namespace
#endif
