#pragma once
// Where the command line's text goes: a standard stream in the program, a string in the tests.
#include <string_view>

#include "platform/Console.h"

namespace cli {

class TextOutput {
 public:
  virtual ~TextOutput() = default;
  virtual void Write(std::u16string_view text) = 0;
  virtual bool IsTerminal() const = 0;
};

class StandardOutput final : public TextOutput {
 public:
  explicit StandardOutput(platform::StandardStream stream) : stream_(stream) {}
  // A reader that went away (a closed pipe) must not stop the recovery, so failures are not reported.
  void Write(std::u16string_view text) override { platform::WriteText(stream_, text); }
  bool IsTerminal() const override { return platform::IsTerminal(stream_); }

 private:
  platform::StandardStream stream_;
};

}  // namespace cli
