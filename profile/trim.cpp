#include "profile/trim.h"

std::wstring TrimWhitespace(std::wstring_view text) {
  constexpr std::wstring_view kBlanks = L" \t\r\n";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::wstring_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return std::wstring(text.substr(first, last - first + 1));
}
