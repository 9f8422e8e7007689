#include "unix_path.h"

#include "platform/text.h"

std::wstring UnixPathToWine(const char* path) {
  std::wstring wide = L"Z:" + platform::Utf8ToWide(path);
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}
