// The two stores Outlook Express wrote in 2002.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "engine/naming/MailFileTime.h"
#include "tests/support/FileTimesProbe.h"
#include "tests/support/RealStores.h"
#include "tests/support/RecoveryRun.h"

namespace {

using testsupport::RecordingUi;
using testsupport::RunResult;

constexpr std::int32_t kLiveStart = 0xEAD4 + 1;
constexpr std::int32_t kStaleStart = 0x6AD4 + 1;

class RealStore : public ::testing::Test {
 protected:

  std::optional<RunResult> Recover(const std::string& name, bool skipPointerCheck) {
    const auto store = testsupport::RealStore(name);
    if (!store) return std::nullopt;
    RecordingUi ui(temp_.Path().u16string());
    return testsupport::RunRecovery(std::filesystem::path(*store), ui, skipPointerCheck);
  }

  testsupport::TempFolder temp_;
};

std::u16string FileNameOf(const MailRecord& record) {
  return record.FileName;
}

#define REAL_STORE_OR_SKIP(run, name, skip)                                                             \
  const auto run = Recover(name, skip);                                                                 \
  if (!run) GTEST_SKIP() << name << " is absent: the real stores are expected in " PALVENOR_REAL_DBX_DIR

TEST_F(RealStore, TestDbxYieldsItsLiveMessage) {
  REAL_STORE_OR_SKIP(run, "MailTransportDbx_test.dbx", false);
  ASSERT_EQ(run->files.size(), 1u);
  EXPECT_EQ(run->files[0].size(), 16993u);
  EXPECT_EQ(run->files[0].rfind("Return-path: <off_1@webstation.com>\r\nReceived: from ", 0), 0u);
  EXPECT_EQ(run->records[0].StartBlock, kLiveStart);
  EXPECT_EQ(run->records[0].Status, 1);
  EXPECT_EQ(FileNameOf(run->records[0]), u"Please read you won't be sorry.........eml");
  // Dated from its Received field, 2002/04/14 02:27:57.
  const auto times = testsupport::ReadFileTimes(testsupport::FileOf(*run, run->records[0]).u16string());
  ASSERT_TRUE(times);
  EXPECT_EQ(times->lastWrite, DateToFileTime({2002, 4, 14, 2, 27, 57}));
}

TEST_F(RealStore, TestDbxYieldsItsStaleCopyWithThePointerCheckOff) {
  REAL_STORE_OR_SKIP(run, "MailTransportDbx_test.dbx", true);
  ASSERT_EQ(run->files.size(), 2u);
  EXPECT_EQ(run->records[0].StartBlock, kStaleStart);
  EXPECT_EQ(run->files[0].size(), 2710u);
  EXPECT_EQ(run->files[0].rfind("Return-path: <noreply@freshmeat.net>\r\n", 0), 0u);
  EXPECT_EQ(run->records[1].StartBlock, kLiveStart);
  EXPECT_EQ(run->files[1].size(), 16993u);
  EXPECT_EQ(FileNameOf(run->records[0]), u"[fmII] centericq 4.7.5 released (Default branch).eml");
  EXPECT_EQ(FileNameOf(run->records[1]), u"Please read you won't be sorry.........eml");
  // The index lists the message at 0xEAD4 by its position: the stale copy, which stores 0xEAD4 as its
  // own offset, is deleted mail.
  EXPECT_EQ(std::make_pair(run->records[0].Deleted, run->records[1].Deleted), std::make_pair(true, false));
  EXPECT_EQ(std::make_pair(run->outcome.listedCount, run->outcome.missingCount), std::make_pair(1, 0));

  // The stale copy is the message test1.dbx still holds.
  const auto other = Recover("MailTransportDbx_test1.dbx", false);
  if (!other) GTEST_SKIP() << "MailTransportDbx_test1.dbx is absent";
  ASSERT_EQ(other->files.size(), 1u);
  EXPECT_EQ(run->files[0], other->files[0]);
}

TEST_F(RealStore, Test1DbxYieldsItsOneMessage) {
  REAL_STORE_OR_SKIP(run, "MailTransportDbx_test1.dbx", false);
  ASSERT_EQ(run->files.size(), 1u);
  EXPECT_EQ(run->files[0].size(), 2710u);
  EXPECT_EQ(run->files[0].rfind("Return-path: <noreply@freshmeat.net>\r\n", 0), 0u);
  EXPECT_EQ(run->records[0].StartBlock, kLiveStart);
  EXPECT_EQ(run->files[0].substr(run->files[0].size() - 2), "\r\n");
  EXPECT_EQ(std::make_tuple(run->records[0].Deleted, run->outcome.listedCount, run->outcome.missingCount),
            std::make_tuple(false, 1, 0));
}

}  // namespace
