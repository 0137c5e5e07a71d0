// What finding freed blocks adds to the scan.
//   Usage: freed_bench STORE [RUNS]
// Times the block scan over the store (no file written), then the candidate search over every
// position of every window twice, alone and handing its 02 00 places to the freed blocks; the
// difference is what the freed blocks cost. Prints the medians of RUNS runs (default 5).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "engine/freed/FreedBlocks.h"
#include "engine/scan/BlockScan.h"
#include "engine/scan/CandidateSearch.h"
#include "engine/scan/FileBlockSource.h"
#include "platform/Utf.h"

namespace {

using Clock = std::chrono::steady_clock;

class QuietHost final : public ScanHost {
 public:
  bool BeginMessage() override { return true; }
  bool AppendMessageBytes(std::span<const std::uint8_t>) override { return true; }
  bool EndMessage(std::int64_t, bool) override { return true; }
  bool WindowAdvanced(std::int64_t) override { return true; }
  void Pump() override {}
};

double ScanSeconds(const platform::StoreFile& file) {
  const std::int64_t length = ScanLength(file.Length());
  StoreReads reads(file);
  StoreReader reader(reads, length);
  UsedBlockList used;
  QuietHost host;
  const auto started = Clock::now();
  ScanStore(reader, false, used, host);
  return std::chrono::duration<double>(Clock::now() - started).count();
}

// The candidate search over every position of each window, with or without the freed blocks; the
// window loads, which the scan makes anyway, are not counted.
double SearchSeconds(const platform::StoreFile& file, bool withFreed, std::size_t& found) {
  const std::int64_t length = ScanLength(file.Length());
  StoreReads reads(file);
  StoreReader reader(reads, length);
  FileBlockSource blocks(reads);
  FreedBlocks freed(true, blocks);
  Clock::duration searching{};
  for (std::int64_t start = 1; start < length; start += kWindowStep) {
    reader.LoadWindow(start);
    const auto started = Clock::now();
    if (withFreed) freed.WindowLoaded(reader.Window(), start);
    for (std::int64_t from = 1, m = 0;
         (m = withFreed ? FindCandidate(reader.Window(), from, freed) : FindCandidate(reader.Window(), from)) != 0;)
      from = m + 1;
    searching += Clock::now() - started;
  }
  found = freed.Candidates().Size();
  return std::chrono::duration<double>(searching).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: freed_bench STORE [RUNS]\n");
    return 2;
  }
  const int runs = argc >= 3 ? std::max(1, std::atoi(argv[2])) : 5;
  platform::OsError error;
  const auto file = platform::StoreFile::Open(platform::FromUtf8(argv[1]), error);
  if (!file) {
    std::fprintf(stderr, "freed_bench: cannot open %s\n", argv[1]);
    return 1;
  }
  std::vector<double> scans;
  std::vector<double> extras;
  std::vector<double> searches;
  std::size_t found = 0;
  for (int run = 0; run < runs; ++run) {
    scans.push_back(ScanSeconds(*file));
    const double alone = SearchSeconds(*file, false, found);
    searches.push_back(alone);
    extras.push_back(SearchSeconds(*file, true, found) - alone);
  }
  const double scan = Median(scans);
  const double extra = Median(extras);
  std::printf(
      "%s: scan %.3f s, its candidate search %.3f s, freed blocks add %.4f s (%.1f %% of the scan), "
      "%zu found; median of %d runs\n",
      argv[1], scan, Median(searches), extra, 100 * extra / scan, found, runs);
  return 0;
}
