#pragma once
// The state of the main window's status bar as the run sets it, kept so that the terminal can show
// the same texts on one line.
#include <array>
#include <cstdint>
#include <string>

#include "engine/RecoveryUi.h"

namespace cli {

class StatusBar {
 public:
  // The labels at rest show their captions in the language.
  explicit StatusBar(Language language);

  void SetVisible(StatusControl control, bool visible);
  void SetCaption(StatusControl control, const std::u16string& caption);

  // The visible, non-empty captions as the window lays them out, left to right, separated by blanks:
  // the phase label, then the percentage, then the count, e.g. "抽出中 37% 12通のメールを抽出".
  std::u16string Line() const;
  // Which controls are shown; it changes when the run enters another phase.
  std::uint32_t Layout() const { return visible_; }

 private:
  static constexpr std::size_t kControls = 8;
  std::uint32_t visible_ = 0;
  std::array<std::u16string, kControls> captions_;
};

}  // namespace cli
