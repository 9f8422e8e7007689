#pragma once

#include <string>
#include <string_view>

// Doubles every character PowerShell takes for a single quote inside a single-quoted literal:
// the apostrophe and the typographic quotes U+2018 to U+201B. Any one of them ends such a
// literal, and any two in a row stand for the second, so doubling each keeps the text as it is.
[[nodiscard]] std::wstring EscapeSingleQuotes(std::wstring_view text);

// `text` as a PowerShell single-quoted literal that reads back unchanged.
[[nodiscard]] std::wstring QuotePowerShellLiteral(std::wstring_view text);
