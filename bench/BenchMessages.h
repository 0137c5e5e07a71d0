#pragma once
// The messages of the benchmark stores: mail as a Japanese mailbox holds it, with encoded Japanese
// subjects, varied dates and sizes from a one-line note to a message with a large attachment.
// The same index always gives the same message, so every layout stores the same mail.
#include <cstdint>
#include <string>

namespace bench {

class MessageMaker {
 public:
  MessageMaker();

  // Message number index (from 0); with a fixed subject when one is given.
  std::string Make(std::uint32_t index, const std::string& fixedSubject = {}) const;
  // The Subject field value message index carries, or decoded into code page 932 as the store's index
  // keeps it.
  std::string Subject(std::uint32_t index, bool decoded = false) const;

 private:
  std::string JisBody(std::uint32_t& state) const;
};

}  // namespace bench
