#pragma once

#include <string>
#include <string_view>

namespace profile {

// The hex digits of the trimmed text, lower-cased; everything else dropped.
[[nodiscard]] std::wstring NormalizeHex(std::wstring_view text);

// Whether a package URL names a scheme the download can fetch (http:// or https://, as written).
[[nodiscard]] bool HasWebScheme(std::wstring_view url);

}  // namespace profile
