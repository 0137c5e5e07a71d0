// What reading the store's own index costs.
//   Usage: index_bench STORE [RUNS]
// Reads the index of the store through a fresh StoreReads each run, as a run would, and prints the
// median of RUNS runs (default 5) with what it found. Compare it with the time of the whole run,
// palvenor-cli on the same store.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/index/StoreIndex.h"
#include "platform/Utf.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: index_bench STORE [RUNS]\n");
    return 2;
  }
  const int runs = argc >= 3 ? std::max(1, std::atoi(argv[2])) : 5;
  platform::OsError error;
  const auto file = platform::StoreFile::Open(platform::FromUtf8(argv[1]), error);
  if (!file) {
    std::fprintf(stderr, "index_bench: cannot open %s\n", argv[1]);
    return 1;
  }
  std::vector<double> seconds;
  StoreIndex index;
  for (int run = 0; run < runs; ++run) {
    StoreReads reads(*file);
    const auto started = std::chrono::steady_clock::now();
    index = ReadStoreIndex(reads);
    seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  }
  std::sort(seconds.begin(), seconds.end());
  std::printf("%s: the index (%s, %zu of %lld listed) read in %.4f s; median of %d runs\n", argv[1],
              index.Whole() ? "whole" : "not whole", index.Messages.size(), static_cast<long long>(index.ListedCount),
              seconds[seconds.size() / 2], runs);
  return 0;
}
