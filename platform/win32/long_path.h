#pragma once

#include <filesystem>
#include <string>

namespace platform::win32 {

// The \\?\ form of an absolute path, which the system never cuts at 260 characters; other paths
// are returned as they are.
inline std::wstring ExtendedPath(const std::filesystem::path& path) {
  std::wstring text = path.native();
  for (wchar_t& c : text) {
    if (c == L'/') c = L'\\';
  }
  if (text.starts_with(L"\\\\?\\")) return text;
  if (text.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + text.substr(2);
  if (text.size() >= 3 && text[1] == L':' && text[2] == L'\\') return L"\\\\?\\" + text;
  return text;
}

}  // namespace platform::win32
