#include "cli/ProgressLine.h"

#include <utility>

namespace cli {
namespace {

bool IsWide(char16_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6);
}

}  // namespace

std::size_t DisplayWidth(std::u16string_view text) {
  std::size_t width = 0;
  for (const char16_t c : text) {
    if (c >= 0xDC00 && c <= 0xDFFF) continue;  // the low half of a pair adds nothing
    width += IsWide(c) || (c >= 0xD800 && c <= 0xDBFF) ? 2 : 1;
  }
  return width;
}

ProgressLine::ProgressLine(TextOutput& output, bool enabled, Clock clock)
    : output_(output), enabled_(enabled), clock_(std::move(clock)) {}

bool ProgressLine::Show(const std::u16string& text, bool urgent) {
  if (!enabled_ || text == drawn_) return true;
  if (text.empty()) {
    Clear();
    return true;
  }
  const auto now = clock_();
  if (!urgent && drawnWidth_ > 0 && now - lastDraw_ < kRedrawInterval) return false;
  const std::size_t width = DisplayWidth(text);
  std::u16string frame = u"\r" + text;
  // Blanks over whatever the longer previous text left behind.
  if (drawnWidth_ > width) frame.append(drawnWidth_ - width, u' ');
  output_.Write(frame);
  drawn_ = text;
  drawnWidth_ = width;
  lastDraw_ = now;
  return true;
}

void ProgressLine::Clear() {
  if (!enabled_ || drawnWidth_ == 0) return;
  output_.Write(u"\r" + std::u16string(drawnWidth_, u' ') + u"\r");
  drawn_.clear();
  drawnWidth_ = 0;
}

}  // namespace cli
