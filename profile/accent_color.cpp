#include "profile/accent_color.h"

#include <string>

#include "profile/trim.h"

namespace profile {

namespace {

std::uint32_t HexDigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return static_cast<std::uint32_t>(c - L'0');
  if (c >= L'a' && c <= L'f') return static_cast<std::uint32_t>(c - L'a' + 10);
  if (c >= L'A' && c <= L'F') return static_cast<std::uint32_t>(c - L'A' + 10);
  return 0;
}

}  // namespace

std::uint32_t ParseAccentColor(std::wstring_view text) {
  std::wstring hex = TrimWhitespace(text);
  if (hex.size() == 7) {
    if (hex.front() != L'#') return kDefaultAccentColor;
    hex.erase(0, 1);
  }
  if (hex.size() != 6) return kDefaultAccentColor;
  std::uint32_t rgb = 0;
  for (const wchar_t c : hex) rgb = rgb * 16 + HexDigitValue(c);
  return 0xFF000000u + rgb;
}

}  // namespace profile
