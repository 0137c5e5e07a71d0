#pragma once
// Paths the build hands the tests, as Wine sees them (the Unix root is drive Z:).
#include <string>

inline std::wstring WinePath(const std::string& unixPath) {
  std::wstring path = L"Z:";
  for (const char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return path;
}
