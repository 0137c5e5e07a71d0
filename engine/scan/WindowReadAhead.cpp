#include "engine/scan/WindowReadAhead.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
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

WindowReadAhead::WindowReadAhead(StoreReads& store, const ThreadStart& start)
    : store_(store), thread_(start([this] { Run(); })) {}

WindowReadAhead::~WindowReadAhead() {
  // A read not begun is dropped; one in progress ends first. A failure not yet fetched is dropped with
  // it, since the scan is being left anyway.
  State expected = State::Asked;
  if (!state_.compare_exchange_strong(expected, State::Idle, std::memory_order_acq_rel))
    WaitUntil([](State now) { return now != State::Reading; }, kBusyRounds);
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
WindowReadAhead::State WindowReadAhead::WaitUntil(Ends ends, int busyRounds) {
  for (int round = 1; round <= busyRounds; ++round) {
    if (const State now = state_.load(std::memory_order_acquire); ends(now)) return now;
    PauseBriefly();
    // On a busy machine the thread waited for may need this processor: it gets it now and then.
    if (round % kRoundsBetweenYields == 0) std::this_thread::yield();
  }
  // A read that meets bad sectors may take long; the scan's thread lets the user interface answer meanwhile.
  const auto ended = [this, &ends] { return ends(state_.load(std::memory_order_acquire)); };
  std::unique_lock lock(mutex_);
  while (!changed_.wait_for(lock, std::chrono::milliseconds(20), ended)) {
    lock.unlock();
    store_.Answer();
    lock.lock();
  }
  return state_.load(std::memory_order_acquire);
}

void WindowReadAhead::Start(std::int64_t start, std::span<std::uint8_t> buffer, bool last) {
  start_ = start;
  buffer_ = buffer;
  last_ = last;
  Set(State::Asked);
}

bool WindowReadAhead::Finish() {
  State expected = State::Asked;
  if (state_.compare_exchange_strong(expected, State::Idle, std::memory_order_acq_rel)) return false;
  const bool read = WaitUntil([](State now) { return now != State::Reading; }, kBusyRounds) == State::Read;
  state_.store(State::Idle, std::memory_order_release);
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  return read;
}

void WindowReadAhead::Run() {
  // Nothing is asked before the first read, which follows at once.
  bool last = false;
  while (true) {
    if (WaitUntil([](State now) { return now == State::Asked || now == State::Quit; }, last ? 0 : kBusyRounds) ==
        State::Quit)
      return;
    // The caller may take back a read not begun, so beginning it is a claim.
    State expected = State::Asked;
    if (!state_.compare_exchange_strong(expected, State::Reading, std::memory_order_acq_rel)) continue;
    // Unreadable sectors are searched as zeros, as in a window read in the scan's own thread.
    try {
      static_cast<void>(store_.Read(start_ - 1, buffer_));
    } catch (...) {
      failure_ = std::current_exception();
    }
    last = last_;  // before the caller may ask again
    Set(State::Read);
  }
}
