// Writes stores of 32 MiB made to cost the most memory per byte (bench/memory.sh).
//   Usage: make-hostile-stores FOLDER
// freed-every-12.dbx   a freed-block header every 12 bytes, the densest that passes the pointer check
// freed-every-8.dbx    one every 8 bytes, the densest without the check
// freed-overlapping.dbx one freed message going on to headers 20 bytes apart, each naming the one
//                      before: a single chain through the whole store if blocks may overlap
// live-every-20.dbx    a message block of 4 bytes every 20 bytes, each a message of its own
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kStoreBytes = 32 << 20;

class Store {
 public:
  Store() : bytes_(kStoreBytes, 0) {}
  // The words from a 0-based offset; those past the end are dropped.
  void Put(std::size_t at, std::initializer_list<std::uint32_t> words) {
    for (const std::uint32_t word : words) {
      for (int i = 0; i < 4 && at < bytes_.size(); ++i, ++at) bytes_[at] = static_cast<char>(word >> (8 * i));
    }
  }
  void PutText(std::size_t at, const std::string& text) { bytes_.replace(at, text.size(), text); }
  void Save(const std::filesystem::path& file) const {
    std::ofstream out(file, std::ios::binary);
    out.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
  }

 private:
  std::string bytes_;
};

std::uint32_t Word(std::size_t value) { return static_cast<std::uint32_t>(value); }

}  // namespace

int main(int argc, char** argv) try {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-hostile-stores FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);

  Store every12;
  for (std::size_t at = 0; at + 12 <= kStoreBytes; at += 12) every12.Put(at, {Word(at == 0 ? 1 : at), 0x1FC, 0x210});
  every12.Save(folder / "freed-every-12.dbx");

  Store every8;
  for (std::size_t at = 0; at + 8 <= kStoreBytes; at += 8) every8.Put(at, {0x210, 0x1FC});
  every8.Save(folder / "freed-every-8.dbx");

  Store overlapping;
  const std::size_t first = 0x100;
  const std::size_t run = first + 528;
  overlapping.Put(first, {Word(first), 0x1FC, 0x210, Word(run), 0});
  overlapping.PutText(first + 20, "From: a@example.com\r\nSubject: overlapping\r\n\r\n" + std::string(400, 'x'));
  for (std::size_t at = run, before = first; at + 20 <= kStoreBytes; before = at, at += 20)
    overlapping.Put(at, {Word(at), 0x1FC, 0x210, Word(at + 20), Word(before)});
  overlapping.Save(folder / "freed-overlapping.dbx");

  Store live;
  for (std::size_t at = 0; at + 20 <= kStoreBytes; at += 20) live.Put(at, {Word(at), 0x200, 4, 0, 0x6A627553});
  live.Save(folder / "live-every-20.dbx");
  return 0;
} catch (const std::exception& error) {
  std::fprintf(stderr, "make-hostile-stores: %s\n", error.what());
  return 1;
}
