#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace test {

// PowerShell's own reading of a single-quoted literal at the start of `text`: any of the five
// single-quote characters opens and closes it, and two of them in a row stand for the second.
// The literal's value and its length in `text`; nothing when `text` holds no whole literal.
struct ReadLiteral {
  std::wstring value;
  std::size_t length = 0;
};

inline bool IsPowerShellSingleQuote(wchar_t c) {
  return c == L'\'' || (c >= 0x2018 && c <= 0x201B);
}

inline std::optional<ReadLiteral> ReadPowerShellLiteral(std::wstring_view text) {
  if (text.empty() || !IsPowerShellSingleQuote(text[0])) return std::nullopt;
  ReadLiteral literal;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (!IsPowerShellSingleQuote(text[i])) {
      literal.value += text[i];
    } else if (i + 1 < text.size() && IsPowerShellSingleQuote(text[i + 1])) {
      literal.value += text[++i];
    } else {
      literal.length = i + 1;
      return literal;
    }
  }
  return std::nullopt;
}

}  // namespace test
