#include "platform/Console.h"

#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/Utf.h"

namespace platform {
namespace {

int Descriptor(StandardStream stream) { return stream == StandardStream::Output ? STDOUT_FILENO : STDERR_FILENO; }

}  // namespace

bool IsTerminal(StandardStream stream) { return ::isatty(Descriptor(stream)) == 1; }

bool WriteText(StandardStream stream, std::u16string_view text) {
  const std::string bytes = ToUtf8(text);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(Descriptor(stream), bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace platform
