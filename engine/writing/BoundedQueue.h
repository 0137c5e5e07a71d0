#pragma once
// A queue of at most a fixed number of items between one thread that decides and one that writes:
// the decider waits when the writer is that far behind, the writer waits when there is nothing yet.
// Items pass in batches: the decider hands over a batch once it is full (or the queue is closed), the
// writer takes all that is handed over at once, so that each wakes the other once a batch rather than
// once an item. The decider alone calls Push and Close, the writer alone Pop; Cancel may come from any
// thread.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

template <typename T>
class BoundedQueue {
 public:
  // batch: the items handed over at once, at most the capacity.
  explicit BoundedQueue(std::size_t capacity, std::size_t batch = 1)
      : capacity_(capacity == 0 ? 1 : capacity), batch_(batch == 0 ? 1 : std::min(batch, capacity_)) {}
  BoundedQueue(const BoundedQueue&) = delete;
  BoundedQueue& operator=(const BoundedQueue&) = delete;

  // Adds the item, waiting for room when it completes a batch; false (the item dropped) once the queue
  // is closed or cancelled.
  [[nodiscard]] bool Push(T item) {
    if (closed_ || cancelled_) return false;
    filling_.push_back(std::move(item));
    return filling_.size() < batch_ || HandOver();
  }

  // The next item, waiting for a batch when those taken are used up; nullopt once the queue is closed
  // and every item taken, or at once when it is cancelled.
  [[nodiscard]] std::optional<T> Pop() {
    if (cancelled_) return std::nullopt;
    if (next_ == taken_.size()) {
      taken_.clear();
      next_ = 0;
      std::unique_lock lock(mutex_);
      itemOrEnd_.wait(lock, [this] { return !handed_.empty() || closed_ || cancelled_; });
      if (cancelled_ || handed_.empty()) return std::nullopt;
      taken_.swap(handed_);
      roomOrEnd_.notify_one();
    }
    return std::move(taken_[next_++]);
  }

  // No more items come; those pushed are still taken.
  void Close() {
    if (!filling_.empty() && !cancelled_) static_cast<void>(HandOver());
    const std::lock_guard lock(mutex_);
    closed_ = true;
    itemOrEnd_.notify_all();
    roomOrEnd_.notify_all();
  }

  // Ends the queue at once: waiting calls return, items not yet taken out are dropped.
  void Cancel() {
    const std::lock_guard lock(mutex_);
    cancelled_ = true;
    handed_.clear();
    itemOrEnd_.notify_all();
    roomOrEnd_.notify_all();
  }

 private:
  // Hands the batch being filled to the writer once there is room for it.
  bool HandOver() {
    std::unique_lock lock(mutex_);
    roomOrEnd_.wait(lock, [this] { return handed_.size() + filling_.size() <= capacity_ || cancelled_; });
    if (cancelled_) return false;
    if (handed_.empty()) {
      handed_.swap(filling_);
    } else {
      // One by one, so that items need not be assignable.
      for (T& item : filling_) handed_.push_back(std::move(item));
    }
    filling_.clear();
    itemOrEnd_.notify_one();
    return true;
  }

  const std::size_t capacity_;
  const std::size_t batch_;
  std::mutex mutex_;
  std::condition_variable roomOrEnd_;
  std::condition_variable itemOrEnd_;
  std::vector<T> handed_;   // handed over, not yet taken; guarded by mutex_
  std::vector<T> filling_;  // the decider's
  std::vector<T> taken_;    // the writer's, handed out up to next_
  std::size_t next_ = 0;
  std::atomic<bool> closed_ = false;
  std::atomic<bool> cancelled_ = false;
};
