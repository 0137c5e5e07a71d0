// The queue between the deciding and the writing thread: order kept, bounded, closed and cancelled.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/writing/BoundedQueue.h"

namespace {

TEST(BoundedQueue, TheWriterGetsEveryItemInOrderThenTheEnd) {
  BoundedQueue<int> queue(4);
  std::vector<int> taken;
  std::thread writer([&] {
    while (const auto item = queue.Pop()) taken.push_back(*item);
  });
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(queue.Push(i));
  queue.Close();
  writer.join();
  ASSERT_EQ(taken.size(), 1000u);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(taken[static_cast<std::size_t>(i)], i);
}

TEST(BoundedQueue, ClosedItStillHandsOutWhatIsQueuedAndTakesNoMore) {
  BoundedQueue<std::string> queue(2);
  ASSERT_TRUE(queue.Push("a"));
  ASSERT_TRUE(queue.Push("b"));
  queue.Close();
  EXPECT_FALSE(queue.Push("c"));
  EXPECT_EQ(queue.Pop(), "a");
  EXPECT_EQ(queue.Pop(), "b");
  EXPECT_EQ(queue.Pop(), std::nullopt);
}

TEST(BoundedQueue, CancelReleasesADeciderWaitingForRoomAndDropsTheRest) {
  BoundedQueue<int> queue(1);
  ASSERT_TRUE(queue.Push(1));
  bool pushed = true;
  std::thread decider([&] { pushed = queue.Push(2); });  // waits: the queue is full
  queue.Cancel();
  decider.join();
  EXPECT_FALSE(pushed);
  EXPECT_EQ(queue.Pop(), std::nullopt);
}

TEST(BoundedQueue, CloseReleasesAWriterWaitingForAnItem) {
  BoundedQueue<int> queue(1);
  std::optional<int> got = 0;
  std::thread writer([&] { got = queue.Pop(); });
  queue.Close();
  writer.join();
  EXPECT_EQ(got, std::nullopt);
}

// In batches of 4: a batch not yet full goes over when the queue is closed; a cancel drops what the
// writer has taken over but not yet handed out.
TEST(BoundedQueue, BatchesPassOnCloseAndACancelDropsTheRestOfOne) {
  for (const bool cancel : {false, true}) {
    SCOPED_TRACE(cancel);
    BoundedQueue<int> queue(8, 4);
    for (int i = 1; i <= 6; ++i) ASSERT_TRUE(queue.Push(i));
    queue.Close();
    std::vector<int> taken{*queue.Pop()};
    if (cancel) queue.Cancel();
    while (const auto item = queue.Pop()) taken.push_back(*item);
    EXPECT_EQ(taken, (cancel ? std::vector<int>{1} : std::vector<int>{1, 2, 3, 4, 5, 6}));
  }
}

}  // namespace
