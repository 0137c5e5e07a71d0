#include "engine/scan/WindowReadAhead.h"

#include <algorithm>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#else
#include <thread>
#endif

namespace {

// Lets the other hardware thread of the core run while this one waits busily.
void PauseBriefly() {
#if defined(__SSE2__)
  _mm_pause();
#else
  std::this_thread::yield();
#endif
}

}  // namespace

bool ReadStoreBytes(const platform::StoreFile& file, std::int64_t start, std::span<std::uint8_t> buffer) {
  const std::int64_t got = file.ReadAt(start - 1, buffer);
  const std::size_t filled = got < 0 ? 0 : static_cast<std::size_t>(got);
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(filled), buffer.end(), std::uint8_t{0});
  return got >= 0;
}

WindowReadAhead::WindowReadAhead(const platform::StoreFile& file, const ThreadStart& start)
    : file_(file), thread_(start([this] { Run(); })) {}

WindowReadAhead::~WindowReadAhead() {
  // A read not begun is dropped; one in progress ends first. A failure not yet fetched is dropped with
  // it, since the scan is being left anyway.
  State expected = State::Asked;
  if (!state_.compare_exchange_strong(expected, State::Idle, std::memory_order_acq_rel))
    WaitUntil([](State now) { return now != State::Reading; });
  Set(State::Quit);
  thread_.join();
}

void WindowReadAhead::Set(State to) {
  {
    const std::lock_guard lock(mutex_);
    state_.store(to, std::memory_order_release);
  }
  changed_.notify_all();
}

template <typename Ends>
WindowReadAhead::State WindowReadAhead::WaitUntil(Ends ends) {
  constexpr int kBusyRounds = 1 << 14;
  for (int round = 0; round < kBusyRounds; ++round) {
    if (const State now = state_.load(std::memory_order_acquire); ends(now)) return now;
    PauseBriefly();
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this, &ends] { return ends(state_.load(std::memory_order_acquire)); });
  return state_.load(std::memory_order_acquire);
}

void WindowReadAhead::Start(std::int64_t start, std::span<std::uint8_t> buffer) {
  start_ = start;
  buffer_ = buffer;
  Set(State::Asked);
}

bool WindowReadAhead::Finish() {
  State expected = State::Asked;
  if (state_.compare_exchange_strong(expected, State::Idle, std::memory_order_acq_rel)) return false;
  const bool read = WaitUntil([](State now) { return now != State::Reading; }) == State::Read;
  state_.store(State::Idle, std::memory_order_release);
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  return read;
}

void WindowReadAhead::Run() {
  while (true) {
    if (WaitUntil([](State now) { return now == State::Asked || now == State::Quit; }) == State::Quit) return;
    // The caller may take back a read not begun, so beginning it is a claim.
    State expected = State::Asked;
    if (!state_.compare_exchange_strong(expected, State::Reading, std::memory_order_acq_rel)) continue;
    // An unreadable stretch is searched as zeros, as a window read in the scan's own thread is.
    try {
      ReadStoreBytes(file_, start_, buffer_);
    } catch (...) {
      failure_ = std::current_exception();
    }
    Set(State::Read);
  }
}
