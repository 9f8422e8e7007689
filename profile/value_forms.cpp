#include "profile/value_forms.h"

#include <cwctype>

#include "profile/trim.h"

namespace profile {

std::wstring NormalizeHex(std::wstring_view text) {
  std::wstring digits;
  for (const wchar_t c : TrimWhitespace(text)) {
    if (std::iswxdigit(c)) digits += static_cast<wchar_t>(std::towlower(c));
  }
  return digits;
}

bool HasWebScheme(std::wstring_view url) {
  return url.starts_with(L"http://") || url.starts_with(L"https://");
}

}  // namespace profile
