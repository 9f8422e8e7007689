#pragma once

#include <filesystem>
#include <string>
#include <system_error>

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

// What every file-system call of the product is handed: made absolute and rid of "." and ".."
// by text alone (the Win32 layer would also strip trailing dots and spaces, which an extractor
// may have put into a name), then in the \\?\ form, without a trailing separator.
inline std::wstring LongPath(const std::filesystem::path& path) {
  if (path.native().starts_with(L"\\\\?\\")) return path.native();
  std::filesystem::path absolute = path;
  if (!path.is_absolute()) {
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (!error) absolute = current / path;
  }
  std::wstring text = ExtendedPath(absolute.lexically_normal());
  while (text.size() > 7 && text.back() == L'\\' && text[text.size() - 2] != L':') text.pop_back();
  return text;
}

}  // namespace platform::win32
