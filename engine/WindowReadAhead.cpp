#include "engine/WindowReadAhead.h"

#include <algorithm>

bool ReadStoreBytes(const platform::StoreFile& file, std::int64_t start, std::span<std::uint8_t> buffer) {
  const std::int64_t got = file.ReadAt(start - 1, buffer);
  const std::size_t filled = got < 0 ? 0 : static_cast<std::size_t>(got);
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(filled), buffer.end(), std::uint8_t{0});
  return got >= 0;
}

WindowReadAhead::WindowReadAhead(const platform::StoreFile& file) : file_(file), thread_([this] { Run(); }) {}

WindowReadAhead::~WindowReadAhead() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void WindowReadAhead::Start(std::int64_t start, std::span<std::uint8_t> buffer) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !pending_; });
  start_ = start;
  buffer_ = buffer;
  pending_ = true;
  lock.unlock();
  changed_.notify_all();
}

void WindowReadAhead::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !pending_; });
}

void WindowReadAhead::Run() {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [this] { return pending_ || quit_; });
    if (!pending_) return;
    const std::int64_t start = start_;
    const std::span<std::uint8_t> buffer = buffer_;
    lock.unlock();
    // An unreadable stretch is searched as zeros, as a window read in the scan's own thread is.
    ReadStoreBytes(file_, start, buffer);
    lock.lock();
    pending_ = false;
    changed_.notify_all();
  }
}
