#include "platform/powershell_quote.h"

std::wstring EscapeSingleQuotes(std::wstring_view text) {
  std::wstring escaped;
  escaped.reserve(text.size());
  for (const wchar_t c : text) {
    escaped += c;
    if (c == L'\'' || (c >= 0x2018 && c <= 0x201B)) escaped += c;
  }
  return escaped;
}

std::wstring QuotePowerShellLiteral(std::wstring_view text) {
  return L"'" + EscapeSingleQuotes(text) + L"'";
}
