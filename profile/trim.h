#pragma once

#include <string>
#include <string_view>

// Strips space, tab, CR and LF from both ends; the one trim both programs use.
[[nodiscard]] std::wstring TrimWhitespace(std::wstring_view text);
