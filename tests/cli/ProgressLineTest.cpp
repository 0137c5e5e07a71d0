#include "cli/ProgressLine.h"

#include <gtest/gtest.h>

#include "CapturedOutput.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct FakeClock {
  Clock::time_point now{};
  cli::ProgressLine::Clock Function() {
    return [this] { return now; };
  }
};

TEST(DisplayWidth, CountsWideCharactersTwice) {
  const std::pair<std::u16string, std::size_t> cases[] = {
      {u"", 0},
      {u"37%", 3},
      {u"抽出中", 6},
      {u"ﾘﾈｰﾑ中", 6},  // half-width katakana take one column each
      {u"12通のメールを抽出", 2 + 8 * 2},
      {u"重複データを削除しています。", 14 * 2},
      {u"Ａ", 2},
  };
  for (const auto& [text, width] : cases) EXPECT_EQ(cli::DisplayWidth(text), width);
}

TEST(ProgressLine, RewritesTheLineInPlaceAndBlanksWhatALongerTextLeft) {
  clitest::CapturedOutput err(true);
  FakeClock clock;
  cli::ProgressLine line(err, true, clock.Function());
  line.Show(u"抽出中 100% 12通のメールを抽出", true);
  line.Show(u"重複データを削除しています。", true);
  line.Show(u"ﾘﾈｰﾑ中 0%", true);
  // 30 columns, then 28 (2 blanks), then 9 (19 blanks).
  EXPECT_EQ(err.Text(), u"\r抽出中 100% 12通のメールを抽出"
                        u"\r重複データを削除しています。  "
                        u"\rﾘﾈｰﾑ中 0%" + std::u16string(19, u' '));
}

TEST(ProgressLine, SpacesOutRedrawsUnlessUrgent) {
  clitest::CapturedOutput err(true);
  FakeClock clock;
  cli::ProgressLine line(err, true, clock.Function());
  EXPECT_TRUE(line.Show(u"抽出中 0% 1通のメールを抽出", false));  // the first text always shows
  clock.now += 10ms;
  EXPECT_FALSE(line.Show(u"抽出中 0% 2通のメールを抽出", false));  // too soon: put off
  clock.now += cli::ProgressLine::kRedrawInterval;
  EXPECT_TRUE(line.Show(u"抽出中 1% 3通のメールを抽出", false));
  clock.now += 1ms;
  EXPECT_TRUE(line.Show(u"抽出中 1% 3通のメールを抽出", false));  // already shown
  EXPECT_TRUE(line.Show(u"重複データを削除しています。", true));
  EXPECT_EQ(err.Text(), u"\r抽出中 0% 1通のメールを抽出\r抽出中 1% 3通のメールを抽出\r重複データを削除しています。");
}

TEST(ProgressLine, ClearLeavesTheCursorAtTheLeftMarginOfABlankLine) {
  clitest::CapturedOutput err(true);
  cli::ProgressLine line(err, true);
  line.Clear();  // nothing drawn: nothing to clear
  EXPECT_EQ(err.Text(), u"");
  line.Show(u"ﾘﾈｰﾑ中 50%", true);
  line.Clear();
  line.Clear();
  EXPECT_EQ(err.Text(), u"\rﾘﾈｰﾑ中 50%\r" + std::u16string(10, u' ') + u"\r");
  line.Show(u"", true);  // an empty text is a cleared line, not a line of blanks
  EXPECT_EQ(err.Text(), u"\rﾘﾈｰﾑ中 50%\r" + std::u16string(10, u' ') + u"\r");
}

TEST(ProgressLine, DisabledWritesNothing) {
  clitest::CapturedOutput err(true);
  cli::ProgressLine line(err, false);
  line.Show(u"抽出中 0% 0通のメールを抽出", true);
  line.Clear();
  EXPECT_EQ(err.Text(), u"");
}

}  // namespace
