#include "tests/support/RecordingUi.h"

#include "platform/Utf.h"

namespace testsupport {
namespace {

const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Exclamation: return "Exclamation";
    case MessageIcon::Critical: return "Critical";
    case MessageIcon::Information: return "Information";
    case MessageIcon::Question: return "Question";
  }
  return "?";
}

}  // namespace

const char* ControlName(StatusControl control) {
  switch (control) {
    case StatusControl::lblMessage: return "lblMessage";
    case StatusControl::lblProc: return "lblProc";
    case StatusControl::lblRename: return "lblRename";
    case StatusControl::lblPercent: return "lblPercent";
    case StatusControl::lblStatus: return "lblStatus";
    case StatusControl::prgStatus: return "prgStatus";
    case StatusControl::cmdStart: return "cmdStart";
    case StatusControl::cmdStop: return "cmdStop";
  }
  return "?";
}

std::vector<std::string> RecordingUi::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const auto& call : calls)
    if (call.rfind(prefix, 0) == 0) found.push_back(call);
  return found;
}

void RecordingUi::SetVisible(StatusControl control, bool visible) {
  calls.push_back(std::string(visible ? "show " : "hide ") + ControlName(control));
}

void RecordingUi::SetCaption(StatusControl control, const std::u16string& caption) {
  calls.push_back(std::string("caption ") + ControlName(control) + " " + platform::ToUtf8(caption));
}

void RecordingUi::SetProgress(int value) { calls.push_back("progress " + std::to_string(value)); }

void RecordingUi::SetBusyPointer(bool busy) { calls.push_back(busy ? "busy on" : "busy off"); }

MessageAnswer RecordingUi::ShowMessage(const UiMessage& message) {
  messages.push_back(message);
  calls.push_back(std::string("message ") + IconName(message.icon) +
                  (message.buttons == MessageButtons::Ok ? " Ok " : " YesNo ") + platform::ToUtf8(message.text));
  if (answer) return answer(message);
  return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

void RecordingUi::PumpEvents() {
  ++pumps;
  if (onPump) onPump();
}

void RecordingUi::OpenFolder(const std::u16string& path) { calls.push_back("open " + platform::ToUtf8(path)); }

}  // namespace testsupport
