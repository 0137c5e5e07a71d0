#include "cli/TerminalUi.h"

#include <utility>

#include "cli/CliTexts.h"
#include "engine/RunReport.h"
#include "engine/naming/DecimalText.h"

namespace cli {

std::u16string MessageLines(const UiMessage& message, Language language) {
  std::u16string lines;
  for (std::size_t i = 0; i < message.text.size(); ++i) {
    if (message.text[i] == u'\r' && i + 1 < message.text.size() && message.text[i + 1] == u'\n') continue;
    lines += message.text[i];
  }
  lines += u'\n';
  if (!message.osReason.empty()) lines += CliText(CliTextId::Reason, language, {message.osReason}) + u'\n';
  return lines;
}

std::u16string Labelled(const std::u16string& label, const std::u16string& lines) {
  return label.empty() ? lines : label + u": " + lines;
}

TerminalUi::TerminalUi(std::u16string outputParentFolder, TerminalStreams streams, ProgressLine& progress,
                       std::function<int()> interrupts, RecoveryRun& run, StoreLabels labels)
    : outputParentFolder_(std::move(outputParentFolder)),
      streams_(streams),
      progress_(progress),
      interrupts_(std::move(interrupts)),
      run_(run),
      labels_(std::move(labels)),
      statusBar_(streams.language) {}

MessageAnswer TerminalUi::ShowMessage(const UiMessage& message) {
  progress_.Clear();
  if (message.buttons == MessageButtons::YesNo) {
    reportDue_ = true;
    return MessageAnswer::No;
  }
  const std::u16string lines = Labelled(labels_.report, MessageLines(message, streams_.language));
  switch (message.icon) {
    case MessageIcon::Information:
    case MessageIcon::Question:
      streams_.out.Write(lines);
      break;
    case MessageIcon::Exclamation:
    case MessageIcon::Critical:
      streams_.err.Write(lines);
      break;
  }
  return MessageAnswer::Ok;
}

void TerminalUi::PumpEvents() {
  // Like the window's Stop button, the interrupt reaches the run only here, so the run's own reset
  // of the flag at its start cannot swallow a Ctrl-C pressed before it. Each new Ctrl-C is one more
  // press: the one that ended the scan does not also end the writing, the next one does.
  const int interrupts = interrupts_();
  if (interrupts > interruptsSeen_) run_.StopRequested = true;
  if (interrupts > 1) run_.HaltRequested = true;
  interruptsSeen_ = interrupts;
  if (!lineOutdated_) return;
  const bool newPhase = statusBar_.Layout() != drawnLayout_;
  drawnLayout_ = statusBar_.Layout();
  const std::u16string line = statusBar_.Line();
  lineOutdated_ = !progress_.Show(line.empty() || labels_.progress.empty() ? line : labels_.progress + u' ' + line,
                                  newPhase);
}

namespace {

constexpr std::size_t kListedRanges = 20;

std::u16string Hex(std::int64_t value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), u"0123456789ABCDEF"[value % 16]);
    value /= 16;
  } while (value > 0);
  return u"0x" + digits;
}

}  // namespace

void TerminalUi::ListUnreadable(const RecoveryOutcome& outcome) {
  const std::vector<platform::ByteRange>& ranges = outcome.unreadableRanges;
  for (std::size_t i = 0; i < ranges.size() && i < kListedRanges; ++i)
    streams_.err.Write(Labelled(labels_.report, CliText(CliTextId::UnreadableRange, TextLanguage(),
                                                        {Hex(ranges[i].offset), DecimalText(ranges[i].length)}) +
                                                    u'\n'));
  if (ranges.size() > kListedRanges)
    streams_.err.Write(Labelled(labels_.report, CliText(CliTextId::UnreadableMore, TextLanguage(),
                                                        {DecimalText(static_cast<std::int64_t>(ranges.size() - kListedRanges))}) +
                                                    u'\n'));
}

void TerminalUi::Finish(const RecoveryOutcome& outcome) {
  progress_.Clear();
  ListUnreadable(outcome);
  if (!reportDue_) return;
  const std::u16string report = ReportText(outcome, TextLanguage(), false);
  if (labels_.report.empty()) {
    streams_.out.Write(report + u'\n' + outcome.outputFolder + u'\n');
  } else {
    streams_.out.Write(Labelled(labels_.report, report + u'\n'));
  }
  reportDue_ = false;
}

}  // namespace cli
