#include "profile/trim.h"

#include <cwctype>

namespace profile {

std::wstring TrimWhitespace(std::wstring_view text) {
  constexpr std::wstring_view kBlanks = L" \t\r\n";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::wstring_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return std::wstring(text.substr(first, last - first + 1));
}

std::wstring FirstNotBlank(std::initializer_list<const std::wstring*> values,
                           std::wstring_view fallback) {
  for (const std::wstring* value : values) {
    std::wstring trimmed = TrimWhitespace(*value);
    if (!trimmed.empty()) return trimmed;
  }
  return std::wstring(fallback);
}

std::wstring Lowered(std::wstring_view text) {
  std::wstring lowered(text);
  for (wchar_t& c : lowered) c = static_cast<wchar_t>(std::towlower(c));
  return lowered;
}

}  // namespace profile
