#pragma once
// File names built from message subjects, identical on every platform.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// The subject with the characters file systems reserve replaced by "_" and CR LF pairs removed;
// "(件名なし)" when nothing is left.
std::u16string FileNameText(std::u16string_view subject);

// A text no platform may use as a name, refused everywhere so that a run names its files alike on
// Linux and on Windows: control characters, lone surrogates and device names.
bool IsRefusedNameText(std::u16string_view text);

// The file name for a text and clash suffix k (0 for none): text + "(k)" + ".eml"; nullopt when its UTF-8
// form exceeds the 255 bytes a name may have.
std::optional<std::u16string> SuffixedFileName(std::u16string_view text, std::int32_t k);

// The last clash suffix taken for each name text, so that n messages of one subject cost n renames,
// not n²/2. Suffixed names are never freed during a run (working names carry no suffix), so every
// suffix up to the one remembered is still taken and the next free one lies beyond it.
class ClashSuffixes {
 public:
  // The suffix to try after the plain name was found taken.
  std::int32_t FirstCandidate(const std::u16string& text) const;
  void Taken(const std::u16string& text, std::int32_t k);

 private:
  std::map<std::u16string, std::int32_t> lastTaken_;
};

enum class NameAttempt { Used, Taken, Failed };

// Tries the file names of text, the plain one first and then with the first free clash suffix and the
// ones after it, until attempt uses one (and that name is returned) or fails for another reason than
// the name being taken, or the name grows too long (nullopt then).
std::optional<std::u16string> UseFreeName(const std::u16string& text, ClashSuffixes& suffixes,
                                          const std::function<NameAttempt(const std::u16string& name)>& attempt);
