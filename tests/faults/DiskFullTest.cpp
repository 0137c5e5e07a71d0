// A disk that fills up during the writing: the run ends with its warning, every file written before
// stays whole, and the one that did not fit is removed. Needs root to mount a small tmpfs; skips elsewhere.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/Texts.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;

// A tmpfs of the given size mounted on a folder for the test's lifetime.
class SmallDisk {
 public:
  SmallDisk(const fs::path& folder, std::size_t bytes) : folder_(folder) {
    fs::create_directory(folder_);
    if (::geteuid() != 0) {
      whyNot_ = "needs root to mount a small tmpfs";
      return;
    }
    const std::string options = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) != 0)
      whyNot_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
  }
  ~SmallDisk() {
    if (whyNot_.empty()) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  const std::string& WhyNot() const { return whyNot_; }

 private:
  fs::path folder_;
  std::string whyNot_;
};

TEST(DiskFull, EndsTheWritingWithTheWarningAndKeepsOnlyWholeFiles) {
  testsupport::TempFolder temp;
  const SmallDisk disk(temp.Path() / "small", 64 * 1024);
  if (!disk.WhyNot().empty()) GTEST_SKIP() << disk.WhyNot();

  std::vector<std::string> messages;
  testsupport::DbxWriter writer;
  for (int i = 0; i < 12; ++i) {
    messages.push_back(testsupport::MakeMessage("full " + std::to_string(i), 9000, static_cast<std::uint32_t>(i + 1)));
    writer.AppendMessage(messages.back());
  }
  const fs::path store = temp.Path() / "store.dbx";
  writer.Save(store);

  testsupport::RecordingUi ui((temp.Path() / "small").u16string());
  const testsupport::RunResult run = testsupport::RunRecovery(store, ui);

  EXPECT_EQ(run.outcome.result, RecoveryResult::WriteFailed);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(ui.messages[0].text.rfind(Text(TextId::WriteFailed, Language::Japanese).substr(0, 20), 0), 0u) << "not the write warning";
  EXPECT_EQ(ui.messages[1].icon, MessageIcon::Question);
  ASSERT_GE(run.files.size(), 1u);
  ASSERT_LT(run.files.size(), messages.size());
  // The files before the one that filled the disk are whole; that one is gone, and nothing else stays.
  for (std::size_t i = 0; i < run.files.size(); ++i) EXPECT_EQ(run.files[i], messages[i]) << i;
  std::size_t left = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(run.outcome.outputFolder))) left += entry.is_regular_file();
  EXPECT_EQ(left, run.files.size());
  EXPECT_EQ(run.outcome.unwrittenCount, static_cast<std::int32_t>(messages.size() - run.files.size()));
  EXPECT_EQ(run.outcome.messageCount, static_cast<std::int32_t>(messages.size()));
}

// Whatever the size of the disk, the freed report ends with a whole row and lists exactly the freed
// files that stay, as many as the report counts: the sizes swept make the report's second page the one
// the disk has no room for, so that its row is cut mid-field.
TEST(DiskFull, EveryDiskSizeLeavesTheFreedReportAndFilesInAgreement) {
  testsupport::TempFolder temp;
  testsupport::DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("live", 600, 1));
  for (int i = 0; i < 120; ++i)
    writer.FreeMessage(writer.AppendMessage(testsupport::MakeMessage("freed " + std::to_string(i), 600, i + 2)));
  const fs::path store = temp.Path() / "store.dbx";
  writer.Save(store);
  for (std::size_t pages = 72; pages <= 92; ++pages) {
    SCOPED_TRACE(std::to_string(pages) + " pages");
    const SmallDisk disk(temp.Path() / "small", pages * 4096);
    if (!disk.WhyNot().empty()) GTEST_SKIP() << disk.WhyNot();
    testsupport::RecordingUi ui((temp.Path() / "small").u16string());
    const testsupport::RunResult run = testsupport::RunRecovery(store, ui);
    const fs::path freed = fs::path(run.outcome.outputFolder) / u"削除済みメール";
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(freed)) files += entry.path().extension() == ".eml";
    const auto report = testsupport::ReadFileBytes(freed / u"復元レポート.tsv");
    const std::string text(report.begin(), report.end());
    EXPECT_TRUE(text.ends_with("\r\n")) << "a row cut short";
    EXPECT_EQ(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')), files + 1);
    EXPECT_EQ(static_cast<std::int32_t>(files), run.outcome.freedCount);
  }
}

}  // namespace
#endif
