#pragma once
#include <string>

#include "cli/TextOutput.h"

namespace clitest {

// A standard stream that keeps what is written; `terminal` says what it pretends to be.
class CapturedOutput final : public cli::TextOutput {
 public:
  explicit CapturedOutput(bool terminal = false) : terminal_(terminal) {}
  void Write(std::u16string_view text) override { text_ += text; }
  bool IsTerminal() const override { return terminal_; }
  const std::u16string& Text() const { return text_; }

 private:
  bool terminal_;
  std::u16string text_;
};

}  // namespace clitest
