#include "profile/file_name.h"

#include <cwctype>

#include "platform/text.h"
#include "profile/trim.h"

namespace profile {

std::wstring SanitizeFileName(std::wstring_view name, std::wstring_view fallback) {
  std::wstring result = TrimWhitespace(name);
  if (result.empty()) result = fallback;
  constexpr std::wstring_view kReserved = L"\\/:*?\"<>|";
  for (wchar_t& c : result) {
    if (kReserved.find(c) != std::wstring_view::npos) c = L'_';
  }
  if (result.empty()) return std::wstring(fallback);
  return result;
}

std::wstring LinkFileName(std::wstring_view name, std::wstring_view fallback) {
  std::wstring link = SanitizeFileName(name, fallback);
  std::wstring extension = platform::PathToWide(platform::WideToPath(link).extension());
  for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(c));
  if (extension != L".lnk") link += L".lnk";
  return link;
}

}  // namespace profile
