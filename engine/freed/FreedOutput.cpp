#include "engine/freed/FreedOutput.h"

#include <utility>

#include "engine/freed/FreedMessage.h"
#include "engine/freed/FreedReport.h"

FreedOutputResult WriteFreedMessages(FreedChains chains, BlockSource& blocks,
                                     const std::u16string& runFolder, const std::atomic<bool>& stop,
                                     const FreedProgress& progress, const platform::WriteFaultPlan& faults) {
  DeletedMailFolder folder(runFolder, faults);
  FreedOutputResult result = WriteFreedMessages(std::move(chains), blocks, folder, stop, progress);
  std::optional<FreedWriteFailure> closed = folder.Close();
  if (!result.failure) result.failure = std::move(closed);
  return result;
}

FreedOutputResult WriteFreedMessages(FreedChains chains, BlockSource& blocks, DeletedMailFolder& folder,
                                     const std::atomic<bool>& stop, const FreedProgress& progress) {
  FreedOutputResult result;
  const std::size_t total = chains.Count();
  std::size_t done = 0;
  for (std::optional<FreedChain> chain; !stop && (chain = chains.Next());) {
    if (const std::optional<FreedMessage> message = ReadFreedMessage(chains, *chain, blocks)) {
      const auto row = [&message](const std::u16string& name) { return FreedReportRow(name, *message); };
      const std::vector<std::uint8_t>& bytes = message->text.Bytes();
      DeletedMailFile file;
      result.failure = folder.Write(bytes, row, result.files, file);
      if (result.failure) {
        ++result.unwritten;
        break;
      }
      ++result.written;
      result.messages.push_back({std::move(file), message->firstBlock, static_cast<std::int64_t>(bytes.size()),
                                 message->complete});
    }
    progress(++done, total);
  }
  result.unwritten += CountFreedMessages(chains, blocks);
  return result;
}
