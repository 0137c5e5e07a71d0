#include "engine/IndexPhase.h"

IndexReading::IndexReading(StoreReads& store, const ThreadStart& start)
    : thread_(start([this, &store] {
        try {
          index_ = ReadStoreIndex(store);
        } catch (...) {
          threw_ = std::current_exception();
        }
      })) {}

IndexReading::~IndexReading() {
  if (thread_.joinable()) thread_.join();
}

StoreIndex IndexReading::Take() {
  thread_.join();
  if (threw_) std::rethrow_exception(threw_);
  return std::move(index_);
}

std::vector<ListedMessage> SeparateDeleted(std::vector<MailRecord>& records, const StoreIndex& index) {
  if (!index.Whole()) return {};
  std::vector<bool> found(index.Messages.size(), false);
  std::size_t next = 0;
  for (std::size_t i = 1; i < records.size(); ++i) {
    MailRecord& record = records[i];
    if (record.Status == MailRecord::kRemoved) continue;
    const ListedMessage* listed = index.Find(record.StartBlock, next);
    record.Deleted = listed == nullptr;
    if (!listed) continue;
    record.Time = listed->ReceivedTime;
    found[static_cast<std::size_t>(listed - index.Messages.data())] = true;
  }
  std::vector<ListedMessage> missing;
  for (std::size_t i = 0; i < found.size(); ++i)
    if (!found[i]) missing.push_back(index.Messages[i]);
  return missing;
}
