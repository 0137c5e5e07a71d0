#pragma once
// A RecoveryUi that records every call of a run, answers message boxes from a script and can act on
// the event pump (to press Stop or close the window at a chosen moment).
#include <functional>
#include <string>
#include <vector>

#include "engine/RecoveryRun.h"
#include "engine/RecoveryUi.h"

namespace testsupport {

class RecordingUi : public RecoveryUi {
 public:
  explicit RecordingUi(std::u16string outputParent = {}) : outputParent_(std::move(outputParent)) {}

  // Every call but the event pump, in order, one line each in UTF-8, for example
  // "show lblProc", "hide cmdStart", "caption lblStatus 0通のメールを抽出", "progress 37", "busy on",
  // "message Question YesNo <text>", "open <path>".
  std::vector<std::string> calls;
  std::vector<UiMessage> messages;
  int pumps = 0;

  // Answer for every message box; defaults to OK for OK boxes and No for questions.
  std::function<MessageAnswer(const UiMessage&)> answer;
  // Runs on every pump, after it is counted.
  std::function<void()> onPump;
  // The run this interface serves, set by RunRecovery, for a pump that presses Stop.
  RecoveryRun* run = nullptr;

  // The recorded calls that begin with prefix, in order.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;

  std::u16string OutputParentFolder() override { return outputParent_; }
  void SetVisible(StatusControl control, bool visible) override;
  void SetCaption(StatusControl control, const std::u16string& caption) override;
  void SetProgress(int value) override;
  void SetBusyPointer(bool busy) override;
  MessageAnswer ShowMessage(const UiMessage& message) override;
  void PumpEvents() override;
  void OpenFolder(const std::u16string& path) override;

 private:
  std::u16string outputParent_;
};

const char* ControlName(StatusControl control);

}  // namespace testsupport
