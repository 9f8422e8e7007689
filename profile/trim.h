#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace profile {

// Strips space, tab, CR and LF from both ends; the one trim both programs use.
[[nodiscard]] std::wstring TrimWhitespace(std::wstring_view text);

// The first of `values` that is not blank, trimmed; else `fallback`.
[[nodiscard]] std::wstring FirstNotBlank(std::initializer_list<const std::wstring*> values,
                                         std::wstring_view fallback);

// `text` with every letter lower-cased, for comparisons that ignore case.
[[nodiscard]] std::wstring Lowered(std::wstring_view text);

}  // namespace profile
