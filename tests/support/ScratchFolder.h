#pragma once
// A fresh, empty folder for one test, removed with everything in it afterwards.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace testsupport {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return folder_; }
  // Path of name inside the folder, in the form the platform layer takes.
  std::u16string PathOf(std::u16string_view name) const;
  // Writes a file of exactly these bytes and returns its path.
  std::u16string WriteFile(std::u16string_view name, std::span<const std::uint8_t> bytes) const;
  std::u16string WriteFile(std::u16string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace testsupport
