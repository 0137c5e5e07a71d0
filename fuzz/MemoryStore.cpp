#include "fuzz/MemoryStore.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/Utf.h"

MemoryStore::MemoryStore() : fd_(::memfd_create("store.dbx", MFD_CLOEXEC)) {
  if (fd_ < 0) std::abort();
  path_ = platform::FromUtf8("/proc/self/fd/" + std::to_string(fd_));
}

MemoryStore::~MemoryStore() { ::close(fd_); }

void MemoryStore::Fill(std::span<const std::uint8_t> bytes, std::int64_t offset) {
  const std::int64_t length = offset + static_cast<std::int64_t>(bytes.size());
  if (offset < 0 || length > kMaxLength) std::abort();
  const auto size = static_cast<off_t>(length);
  if (::ftruncate(fd_, 0) != 0 || ::ftruncate(fd_, size) != 0) std::abort();
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put =
        ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (put <= 0) std::abort();
    done += static_cast<std::size_t>(put);
  }
}
