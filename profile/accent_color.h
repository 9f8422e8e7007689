#pragma once

#include <cstdint>
#include <string_view>

#include "profile/fallbacks.h"

namespace profile {

// `accentHex` ("RRGGBB" or "#RRGGBB") as an opaque ARGB colour. Non-hex characters count as 0;
// any other length gives kDefaultAccentColor.
[[nodiscard]] std::uint32_t ParseAccentColor(std::wstring_view text);

}  // namespace profile
