#pragma once
// One line on the terminal that is rewritten in place as the run goes on.
#include <chrono>
#include <functional>
#include <string>

#include "cli/TextOutput.h"

namespace cli {

class ProgressLine {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  // Redraws closer together than this are skipped: a run extracts thousands of messages a second.
  static constexpr std::chrono::milliseconds kRedrawInterval{100};

  // A disabled line writes nothing at all (a redirected stream, --quiet).
  ProgressLine(TextOutput& output, bool enabled, Clock clock = std::chrono::steady_clock::now);

  // Replaces the line's text; `urgent` draws even within the redraw interval (a new phase).
  // Returns false when the redraw was put off, so that the caller offers the text again later.
  bool Show(const std::u16string& text, bool urgent);
  // Blanks the line and returns to its start, so that other output begins at the left margin.
  void Clear();

 private:
  TextOutput& output_;
  bool enabled_;
  Clock clock_;
  std::u16string drawn_;
  std::size_t drawnWidth_ = 0;
  std::chrono::steady_clock::time_point lastDraw_{};
};

// The line is for a person watching: not with --quiet, and not into a file or a pipe.
inline bool WantsProgressLine(bool quiet, const TextOutput& err) { return !quiet && err.IsTerminal(); }

// Columns the text takes on a terminal: two for wide (CJK, full-width) characters, one otherwise.
std::size_t DisplayWidth(std::u16string_view text);

}  // namespace cli
