#pragma once
// Reads the scan's next window on a thread of its own while the scan searches the current one, so
// that copying the file from the system overlaps with the search.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>

#include "platform/Files.h"

// Reads buffer.size() bytes from 1-based position start into buffer; what the file lacks is zero.
// Returns false when the system read fails.
bool ReadStoreBytes(const platform::StoreFile& file, std::int64_t start, std::span<std::uint8_t> buffer);

class WindowReadAhead {
 public:
  explicit WindowReadAhead(const platform::StoreFile& file);
  WindowReadAhead(const WindowReadAhead&) = delete;
  WindowReadAhead& operator=(const WindowReadAhead&) = delete;
  // Lets a read in progress end, then joins the thread.
  ~WindowReadAhead();

  // Starts reading into buffer from 1-based position start, as ReadStoreBytes does. The buffer
  // belongs to the reading thread until Wait returns; a read already started is waited for first.
  void Start(std::int64_t start, std::span<std::uint8_t> buffer);
  // Waits until the read last started has ended; at once when none is under way.
  void Wait();

 private:
  void Run();

  const platform::StoreFile& file_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::span<std::uint8_t> buffer_;
  std::int64_t start_ = 0;
  bool pending_ = false;  // a read is started and has not ended
  bool quit_ = false;
  std::thread thread_;  // last, so that it starts once everything it uses is made
};
