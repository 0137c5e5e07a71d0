#pragma once
// Redirects this process's HKEY_CURRENT_USER to a fresh, empty key for the life of the object, so
// that tests write identities and shell folders without touching the user's own.
#include <windows.h>

#include <string>

class RegistrySandbox {
 public:
  RegistrySandbox();
  RegistrySandbox(const RegistrySandbox&) = delete;
  RegistrySandbox& operator=(const RegistrySandbox&) = delete;
  ~RegistrySandbox();

  void SetString(const std::wstring& key, const std::wstring& name, const std::wstring& value, DWORD type = REG_SZ);
  void SetBytes(const std::wstring& key, const std::wstring& name, const std::wstring& bytesAsText, DWORD type);
  void SetDword(const std::wstring& key, const std::wstring& name, DWORD value);
  void CreateKey(const std::wstring& key);
  // Lets everyone read the key but nobody write it.
  void MakeReadOnly(const std::wstring& key);

 private:
  HKEY root_ = nullptr;
};

// Sets an environment variable of this process for the life of the object.
class EnvironmentOverride {
 public:
  EnvironmentOverride(const wchar_t* name, const wchar_t* value);
  EnvironmentOverride(const EnvironmentOverride&) = delete;
  EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;
  ~EnvironmentOverride();

 private:
  std::wstring name_;
  std::wstring previous_;
  bool hadValue_ = false;
};
