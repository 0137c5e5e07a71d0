#include "tests/support/ScratchFolder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <stdexcept>

namespace testsupport {
namespace {

std::filesystem::path NewFolderPath() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  return std::filesystem::temp_directory_path() /
         ("palvenor-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
}

}  // namespace

ScratchFolder::ScratchFolder() : folder_(NewFolderPath()) { std::filesystem::create_directories(folder_); }

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::u16string ScratchFolder::PathOf(std::u16string_view name) const {
  return (folder_ / std::filesystem::path(std::u16string(name))).u16string();
}

std::u16string ScratchFolder::WriteFile(std::u16string_view name, std::span<const std::uint8_t> bytes) const {
  const auto path = folder_ / std::filesystem::path(std::u16string(name));
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write test file " + path.string());
  return path.u16string();
}

std::u16string ScratchFolder::WriteFile(std::u16string_view name, std::string_view bytes) const {
  return WriteFile(name, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace testsupport
