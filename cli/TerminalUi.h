#pragma once
// The recovery run's user interface on a terminal: the status bar becomes one progress line on
// stderr, message boxes become lines of text, and Ctrl-C stands for a confirmed Stop.
#include <functional>
#include <cstdint>
#include <string>

#include "cli/ProgressLine.h"
#include "cli/StatusBar.h"
#include "cli/TextOutput.h"
#include "engine/RecoveryRun.h"
#include "engine/RecoveryUi.h"

namespace cli {

struct TerminalStreams {
  TextOutput& out;  // the report
  TextOutput& err;  // failures and warnings
  Language language;  // of everything written to both
};

// A store's place in a run over several stores, which names it wherever it speaks of it; both are empty
// for a run over one store.
struct StoreLabels {
  std::u16string report;    // leads its messages and its report line: the store's path
  std::u16string progress;  // leads the progress line, which must stay short: "[2/3] " + its file name
};

class TerminalUi final : public RecoveryUi {
 public:
  // The run's StopRequested is set whenever `interrupts` says Ctrl-C was pressed once more, as each
  // press of the window's Stop button sets it, and its HaltRequested when it was pressed twice.
  TerminalUi(std::u16string outputParentFolder, TerminalStreams streams, ProgressLine& progress,
             std::function<int()> interrupts, RecoveryRun& run, StoreLabels labels = {});

  Language TextLanguage() const override { return streams_.language; }
  std::u16string OutputParentFolder() override { return outputParentFolder_; }
  void SetVisible(StatusControl control, bool visible) override {
    statusBar_.SetVisible(control, visible);
    lineOutdated_ = true;
  }
  void SetCaption(StatusControl control, const std::u16string& caption) override {
    statusBar_.SetCaption(control, caption);
    lineOutdated_ = true;
  }
  // lblPercent carries the same value as text.
  void SetProgress(int) override {}
  void SetBusyPointer(bool) override {}
  // The question whether to open the folder is answered No: the report names the folder instead.
  MessageAnswer ShowMessage(const UiMessage& message) override;
  void PumpEvents() override;
  // Never reached, since the question is answered No; a terminal has no file browser to open.
  void OpenFolder(const std::u16string&) override {}

  // Ends the progress line and prints the report in place of the question: the count with what the
  // outcome adds to it, then the folder; in a run over several stores one line, the store and its report.
  // The unreadable ranges of the store come first, on stderr: at most 20, then how many more there are.
  void Finish(const RecoveryOutcome& outcome);

 private:
  void ListUnreadable(const RecoveryOutcome& outcome);
  std::u16string outputParentFolder_;
  int interruptsSeen_ = 0;
  TerminalStreams streams_;
  ProgressLine& progress_;
  std::function<int()> interrupts_;
  RecoveryRun& run_;
  StoreLabels labels_;
  StatusBar statusBar_;
  std::uint32_t drawnLayout_ = 0;
  // The run pumps after every block; the line is only rebuilt when the status bar changed.
  bool lineOutdated_ = false;
  // Set by the final question, which is only asked when mail was found and the run was not quit.
  bool reportDue_ = false;
};

// A message box's text as terminal lines: CR LF becomes a line break, the system's reason follows.
std::u16string MessageLines(const UiMessage& message, Language language);

// `lines` led by "label: ", or as they are without a label.
std::u16string Labelled(const std::u16string& label, const std::u16string& lines);

}  // namespace cli
