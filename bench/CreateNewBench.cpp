// What making a run's files costs, for N files of the benchmark messages' sizes in one folder, each
// way as a ratio to opening by full path, writing and closing:
//   by folder      CreateNew relative to the folder, write, close
//   + times        the same with both times set on the open file before it is closed
//   working+rename by full path under "Recover" + N + ".eml", times set by path, renamed without replacing
//   create_bench [FOLDER] [N] [ROUNDS]   (medians of ROUNDS, the ways taking turns)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchMessages.h"
#include "platform/OutputFolder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr platform::FileTime kStamp = 126700000000000000;  // a day in 2002

struct Work {
  const std::vector<std::size_t>& sizes;
  const std::vector<std::uint8_t>& bytes;
  std::span<const std::uint8_t> Of(std::size_t i) const { return {bytes.data(), sizes[i]}; }
};

std::u16string NameOf(const char* prefix, std::size_t i) {
  return fs::path(prefix + std::to_string(i + 1) + ".eml").u16string();
}

bool ByFullPath(const fs::path& folder, const Work& work) {
  platform::OsError error;
  for (std::size_t i = 0; i < work.sizes.size(); ++i) {
    auto file = platform::OutputFile::Create((folder / NameOf("m", i)).u16string(), error);
    if (!file || !file->Write(work.Of(i), error) || !file->Close(error)) return false;
  }
  return true;
}

bool ByFolder(const fs::path& folder, const Work& work, bool setTimes) {
  platform::OsError error;
  const auto output = platform::OutputFolder::Open(folder.u16string(), error);
  if (!output) return false;
  for (std::size_t i = 0; i < work.sizes.size(); ++i) {
    platform::NewFile made = output->CreateNew(NameOf("m", i));
    if (!made.file || !made.file->Write(work.Of(i), error)) return false;
    if (setTimes && !made.file->SetTimes(kStamp, kStamp)) return false;
    if (!made.file->Close(error)) return false;
  }
  return true;
}

bool WorkingThenRenamed(const fs::path& folder, const Work& work) {
  if (!ByFullPath(folder, work)) return false;
  platform::OsError error;
  for (std::size_t i = 0; i < work.sizes.size(); ++i) {
    const std::u16string from = (folder / NameOf("m", i)).u16string();
    if (!platform::SetFileTimes(from, kStamp, kStamp)) return false;
    const std::u16string to = (folder / NameOf("final", i)).u16string();
    if (platform::RenameNoReplace(from, to, error) != platform::RenameResult::Renamed) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "palvenor-create-bench";
  const std::size_t count = argc > 2 ? std::stoul(argv[2]) : 20000;
  const int rounds = argc > 3 ? std::stoi(argv[3]) : 5;

  const bench::MessageMaker maker;
  std::vector<std::size_t> sizes;
  for (std::uint32_t i = 0; i < count; ++i) sizes.push_back(maker.Make(i).size());
  const std::vector<std::uint8_t> bytes(*std::max_element(sizes.begin(), sizes.end()), 'm');
  const Work work{sizes, bytes};

  struct Way {
    const char* name;
    std::function<bool(const fs::path&)> run;
    std::vector<double> seconds;
  };
  std::vector<Way> ways = {
      {"full path", [&](const fs::path& f) { return ByFullPath(f, work); }, {}},
      {"by folder", [&](const fs::path& f) { return ByFolder(f, work, false); }, {}},
      {"by folder + times", [&](const fs::path& f) { return ByFolder(f, work, true); }, {}},
      {"working + rename", [&](const fs::path& f) { return WorkingThenRenamed(f, work); }, {}},
  };
  for (int round = 0; round < rounds; ++round) {
    for (Way& way : ways) {
      const fs::path folder = root / "out";
      fs::remove_all(folder);
      fs::create_directories(folder);
      const auto start = Clock::now();
      if (!way.run(folder)) {
        std::fprintf(stderr, "%s failed\n", way.name);
        return 1;
      }
      way.seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
  }
  fs::remove_all(root);

  std::size_t total = 0;
  for (const std::size_t size : sizes) total += size;
  std::printf("%zu files, %.1f MiB, medians of %d rounds\n", count, static_cast<double>(total) / (1 << 20), rounds);
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  const double base = median(ways.front().seconds);
  for (const Way& way : ways)
    std::printf("%-18s %8.3f s  %.2f\n", way.name, median(way.seconds), median(way.seconds) / base);
  return 0;
}
