#pragma once
// The run's use of the store's own index: read on a thread of its own while the scan goes on, then
// used to tell the listed messages from deleted mail and to name what it lists but the scan missed.
#include <exception>
#include <thread>
#include <vector>

#include "engine/index/StoreIndex.h"
#include "engine/scan/StoreReads.h"
#include "engine/scan/ThreadStart.h"
#include "engine/writing/MailRecord.h"

class IndexReading {
 public:
  // Starts the reading through start, which throws as it does when no thread can be started.
  IndexReading(StoreReads& store, const ThreadStart& start);
  ~IndexReading();
  IndexReading(const IndexReading&) = delete;
  IndexReading& operator=(const IndexReading&) = delete;

  // Waits for the reading; what it threw is thrown here.
  StoreIndex Take();

 private:
  StoreIndex index_;
  std::exception_ptr threw_;
  std::thread thread_;  // last: it starts once the rest is there
};

// When the index is whole, marks every kept record whose first block it does not list as Deleted, gives
// the others the time the index holds for them, and
// returns the listed messages no kept record begins at, in the index's order; else changes nothing.
std::vector<ListedMessage> SeparateDeleted(std::vector<MailRecord>& records, const StoreIndex& index);
