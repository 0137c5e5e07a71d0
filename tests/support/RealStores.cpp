#include "tests/support/RealStores.h"

#include <filesystem>

#include "platform/Utf.h"

namespace testsupport {

std::optional<std::u16string> RealStore(const std::string& fileName) {
  const std::filesystem::path unixPath = std::filesystem::path(PALVENOR_REAL_DBX_DIR) / fileName;
#ifdef _WIN32
  // Wine maps the Unix root to drive Z:.
  std::u16string path = u"Z:" + platform::FromUtf8(unixPath.lexically_normal().generic_string());
  for (auto& c : path)
    if (c == u'/') c = u'\\';
#else
  std::u16string path = platform::FromUtf8(unixPath.lexically_normal().string());
#endif
  if (!std::filesystem::exists(std::filesystem::path(path))) return std::nullopt;
  return path;
}

}  // namespace testsupport
