#pragma once

#include <string>
#include <string_view>

namespace rules {

// `text` as a PowerShell single-quoted literal that reads back unchanged: every character
// PowerShell takes for a single quote (the apostrophe and the typographic quotes U+2018 to
// U+201B) is doubled. Any one of them ends such a literal, and any two in a row stand for the
// second.
[[nodiscard]] std::wstring QuotePowerShellLiteral(std::wstring_view text);

}  // namespace rules
