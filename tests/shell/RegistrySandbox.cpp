#include "RegistrySandbox.h"

#include <sddl.h>

#include <stdexcept>

namespace {

constexpr wchar_t kSandboxPath[] = L"Software\\Tessaly\\PalvenorTestSandbox";

HKEY Create(HKEY parent, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create a test registry key");
  }
  return key;
}

}  // namespace

RegistrySandbox::RegistrySandbox() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kSandboxPath);
  root_ = Create(HKEY_CURRENT_USER, kSandboxPath);
  RegOverridePredefKey(HKEY_CURRENT_USER, root_);
}

RegistrySandbox::~RegistrySandbox() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(root_);
  RegDeleteTreeW(HKEY_CURRENT_USER, kSandboxPath);
}

void RegistrySandbox::CreateKey(const std::wstring& key) { RegCloseKey(Create(root_, key)); }

void RegistrySandbox::SetString(const std::wstring& key, const std::wstring& name, const std::wstring& value,
                                DWORD type) {
  SetBytes(key, name, std::wstring(value.c_str(), value.size() + 1), type);
}

void RegistrySandbox::SetBytes(const std::wstring& key, const std::wstring& name, const std::wstring& bytesAsText,
                               DWORD type) {
  const HKEY target = Create(root_, key);
  RegSetValueExW(target, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytesAsText.data()),
                 static_cast<DWORD>(bytesAsText.size() * sizeof(wchar_t)));
  RegCloseKey(target);
}

void RegistrySandbox::SetDword(const std::wstring& key, const std::wstring& name, DWORD value) {
  const HKEY target = Create(root_, key);
  RegSetValueExW(target, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(target);
}

void RegistrySandbox::MakeReadOnly(const std::wstring& key) {
  const HKEY target = Create(root_, key);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &descriptor, nullptr);
  RegSetKeySecurity(target, DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  RegCloseKey(target);
}

EnvironmentOverride::EnvironmentOverride(const wchar_t* name, const wchar_t* value) : name_(name) {
  wchar_t buffer[1024];
  const DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
  hadValue_ = length > 0 && length < 1024;
  if (hadValue_) previous_.assign(buffer, length);
  SetEnvironmentVariableW(name, value);
}

EnvironmentOverride::~EnvironmentOverride() {
  SetEnvironmentVariableW(name_.c_str(), hadValue_ ? previous_.c_str() : nullptr);
}
