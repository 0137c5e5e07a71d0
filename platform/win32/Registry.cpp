#include "platform/Registry.h"

#include "platform/win32/Wide.h"

namespace platform {
namespace {

using win32::FromWide;
using win32::Wide;
using win32::WideBuffer;

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::CurrentUser:
      return HKEY_CURRENT_USER;
  }
  return HKEY_CURRENT_USER;
}

// An open key, closed on every path. Read access only: a key the user may read but not write must
// still be found.
class ReadKey {
 public:
  ReadKey(RegistryRoot root, const std::u16string& path) {
    if (RegOpenKeyExW(RootKey(root), Wide(path), 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ReadKey(const ReadKey&) = delete;
  ReadKey& operator=(const ReadKey&) = delete;
  ~ReadKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  explicit operator bool() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

bool HasRegistry() { return true; }

std::vector<std::u16string> RegistrySubKeyNames(RegistryRoot root, const std::u16string& keyPath) {
  std::vector<std::u16string> names;
  const ReadKey key(root, keyPath);
  if (!key) return names;
  // Key names are at most 255 characters.
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    const LSTATUS status = RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_SUCCESS) {
      names.emplace_back(FromWide(name, length));
    } else {
      names.emplace_back();
    }
  }
  return names;
}

std::optional<std::u16string> RegistryString(RegistryRoot root, const std::u16string& keyPath,
                                             const std::u16string& valueName) {
  const ReadKey key(root, keyPath);
  if (!key) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), Wide(valueName), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  // An odd byte count leaves half a character, which is dropped.
  std::u16string text((size + 1) / 2, u'\0');
  DWORD read = static_cast<DWORD>(text.size() * 2);
  if (RegQueryValueExW(key.get(), Wide(valueName), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &read) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  text.resize(read / 2);
  return text;
}

std::u16string FolderVariable(const std::u16string& name) {
  const std::u16string reference = u"%" + name + u"%";
  const DWORD needed = ExpandEnvironmentStringsW(Wide(reference), nullptr, 0);
  if (needed == 0) return {};
  std::u16string value(needed, u'\0');
  const DWORD written = ExpandEnvironmentStringsW(Wide(reference), WideBuffer(value), needed);
  if (written == 0 || written > needed) return {};
  value.resize(written - 1);
  // An unset variable comes back unexpanded.
  if (value == reference) return {};
  return value;
}

}  // namespace platform
