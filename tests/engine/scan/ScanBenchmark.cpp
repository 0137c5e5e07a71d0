// Time of a run over a generated 64 MiB store; disabled by default. Run with
//   engine_tests --gtest_also_run_disabled_tests --gtest_filter='*ScanBenchmark*'
// and PALVENOR_BENCH_DIR set to keep the store there (to time a plain copy of it beside the run).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>

#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

TEST(ScanBenchmark, DISABLED_Run64MiBStore) {
  testsupport::TempFolder temp;
  const char* keep = std::getenv("PALVENOR_BENCH_DIR");
  const std::filesystem::path store = (keep != nullptr ? std::filesystem::path(keep) : temp.Path()) / "bench64.dbx";
  std::size_t messages = 0;
  {
    testsupport::DbxWriter writer(store);
    std::uint32_t seed = 1;
    while (writer.Size() < 64 << 20) {
      writer.AppendMessage(testsupport::MakeMessage("bench", 1000 + (seed * 7919) % 20000, seed));
      writer.AppendNoise(64 + seed % 512, seed);
      ++seed;
      ++messages;
    }
    writer.Finish();
  }
  testsupport::RecordingUi ui(temp.Path().u16string());
  const auto started = std::chrono::steady_clock::now();
  RecoveryRun recoveryRun;
  const RecoveryOutcome outcome = RecoverMails(store.u16string(), recoveryRun, ui);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
  EXPECT_EQ(outcome.messageCount, static_cast<std::int32_t>(messages));
  std::cout << "64 MiB store, " << messages << " messages: run took " << took.count() << " s\n";
}

}  // namespace
