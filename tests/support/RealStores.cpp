#include "tests/support/RealStores.h"

#include <filesystem>

#include "platform/Utf.h"

namespace testsupport {

std::u16string HostPath(const std::string& hostPath) {
  const std::filesystem::path unixPath(hostPath);
#ifdef _WIN32
  // Wine maps the Unix root to drive Z:.
  std::u16string path = u"Z:" + platform::FromUtf8(unixPath.lexically_normal().generic_string());
  for (auto& c : path)
    if (c == u'/') c = u'\\';
#else
  std::u16string path = platform::FromUtf8(unixPath.lexically_normal().string());
#endif
  return path;
}

std::optional<std::u16string> RealStore(const std::string& fileName) {
  const std::u16string path = HostPath(PALVENOR_REAL_DBX_DIR "/" + fileName);
  if (!std::filesystem::exists(std::filesystem::path(path))) return std::nullopt;
  return path;
}

}  // namespace testsupport
