#include "cli/StatusBar.h"

#include "engine/Texts.h"

namespace cli {
namespace {

std::size_t Index(StatusControl control) { return static_cast<std::size_t>(control); }

std::uint32_t Bit(StatusControl control) { return std::uint32_t{1} << Index(control); }

}  // namespace

StatusBar::StatusBar(Language language) {
  // The labels' captions at rest, which the run shows without setting them.
  captions_[Index(StatusControl::lblProc)] = Text(TextId::ExtractingCaption, language);
  captions_[Index(StatusControl::lblRename)] = Text(TextId::RenamingCaption, language);
}

void StatusBar::SetVisible(StatusControl control, bool visible) {
  if (visible) {
    visible_ |= Bit(control);
  } else {
    visible_ &= ~Bit(control);
  }
}

void StatusBar::SetCaption(StatusControl control, const std::u16string& caption) { captions_[Index(control)] = caption; }

std::u16string StatusBar::Line() const {
  // lblProc, lblRename and lblMessage share the left place; at most one of them is shown.
  static constexpr StatusControl kOrder[] = {StatusControl::lblProc, StatusControl::lblRename,
                                             StatusControl::lblMessage, StatusControl::lblPercent,
                                             StatusControl::lblStatus};
  std::u16string line;
  for (const StatusControl control : kOrder) {
    const std::u16string& caption = captions_[Index(control)];
    if ((visible_ & Bit(control)) == 0 || caption.empty()) continue;
    if (!line.empty()) line += u' ';
    line += caption;
  }
  return line;
}

}  // namespace cli
