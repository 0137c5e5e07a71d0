#pragma once
// Reads the scan's next window on a thread of its own while the scan searches the current one, so
// that copying the file from the system overlaps with the search.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <span>
#include <thread>

#include "engine/scan/StoreReads.h"
#include "engine/scan/ThreadStart.h"

class WindowReadAhead {
 public:
  // Starts the reading thread through start; what start throws leaves the constructor.
  WindowReadAhead(StoreReads& store, const ThreadStart& start);
  WindowReadAhead(const WindowReadAhead&) = delete;
  WindowReadAhead& operator=(const WindowReadAhead&) = delete;
  // Lets a read in progress end, drops one not begun, then joins the thread.
  ~WindowReadAhead();

  // Asks for buffer to be read from 1-based position start, zeros where the store gives none. The
  // buffer belongs to the reading thread until Finish returns; call Finish before asking again. last
  // tells that nothing will be asked after it (the store's last window), so the thread then sleeps at
  // once rather than waiting busily for an ask that does not come.
  void Start(std::int64_t start, std::span<std::uint8_t> buffer, bool last);
  // Waits for the read asked for to end: true when it was read. False when none was asked for, or
  // when the thread had not begun it, as when another program holds the other processor: it is
  // dropped then, since the caller reads sooner itself than after waiting for the thread's turn.
  // What the thread threw while reading is thrown here, on the caller's thread.
  [[nodiscard]] bool Finish();

 private:
  enum class State { Idle, Asked, Reading, Read, Quit };
  void Run();
  // Waits until the state is one that ends the wait, and returns it; first for busyRounds pauses,
  // since a read or a search ends within a fraction of a millisecond and waking a sleeping thread
  // costs about as much. The waiting thread yields every kRoundsBetweenYields pauses, a microsecond or
  // so: on two busy cores, a wait that never yielded held the processor the other thread needed, and
  // the scan took twice as long as the reading.
  static constexpr int kBusyRounds = 1 << 14;
  static constexpr int kRoundsBetweenYields = 64;
  template <typename Ends>
  State WaitUntil(Ends ends, int busyRounds);
  void Set(State to);

  StoreReads& store_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::atomic<State> state_ = State::Idle;
  std::span<std::uint8_t> buffer_;  // set while Idle, read by the thread once Asked
  std::int64_t start_ = 0;
  bool last_ = false;  // set with buffer_
  std::exception_ptr failure_;  // the thread's, set before it marks the read done
  std::thread thread_;  // last, so that it starts once everything it uses is made
};
