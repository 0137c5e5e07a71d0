#pragma once
// A queue of at most a fixed number of items between one thread that decides and one that writes:
// the decider waits when the writer is that far behind, the writer waits when there is nothing yet.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

template <typename T>
class BoundedQueue {
 public:
  explicit BoundedQueue(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}
  BoundedQueue(const BoundedQueue&) = delete;
  BoundedQueue& operator=(const BoundedQueue&) = delete;

  // Waits for room and adds the item; false (the item dropped) once the queue is closed or cancelled.
  [[nodiscard]] bool Push(T item) {
    std::unique_lock lock(mutex_);
    roomOrEnd_.wait(lock, [this] { return items_.size() < capacity_ || closed_ || cancelled_; });
    if (closed_ || cancelled_) return false;
    items_.push_back(std::move(item));
    itemOrEnd_.notify_one();
    return true;
  }

  // Waits for the next item; nullopt once the queue is closed and every item taken, or at once when
  // it is cancelled.
  [[nodiscard]] std::optional<T> Pop() {
    std::unique_lock lock(mutex_);
    itemOrEnd_.wait(lock, [this] { return !items_.empty() || closed_ || cancelled_; });
    if (cancelled_ || items_.empty()) return std::nullopt;
    std::optional<T> item(std::move(items_.front()));
    items_.pop_front();
    roomOrEnd_.notify_one();
    return item;
  }

  // No more items come; those queued are still taken.
  void Close() {
    const std::lock_guard lock(mutex_);
    closed_ = true;
    itemOrEnd_.notify_all();
    roomOrEnd_.notify_all();
  }

  // Ends the queue at once: waiting calls return, queued items are dropped.
  void Cancel() {
    const std::lock_guard lock(mutex_);
    cancelled_ = true;
    items_.clear();
    itemOrEnd_.notify_all();
    roomOrEnd_.notify_all();
  }

 private:
  const std::size_t capacity_;
  std::mutex mutex_;
  std::condition_variable roomOrEnd_;
  std::condition_variable itemOrEnd_;
  std::deque<T> items_;
  bool closed_ = false;
  bool cancelled_ = false;
};
