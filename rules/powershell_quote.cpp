#include "rules/powershell_quote.h"

namespace rules {

std::wstring QuotePowerShellLiteral(std::wstring_view text) {
  std::wstring quoted = L"'";
  quoted.reserve(text.size() + 2);
  for (const wchar_t c : text) {
    quoted += c;
    if (c == L'\'' || (c >= 0x2018 && c <= 0x201B)) quoted += c;
  }
  return quoted + L"'";
}

}  // namespace rules
