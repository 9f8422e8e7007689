#pragma once

#include <string>
#include <string_view>

namespace profile {

// A profile value made into one file-name component: trimmed, the fallback when blank, and each
// of \ / : * ? " < > | replaced by an underscore. It can never name a folder or a device path.
[[nodiscard]] std::wstring SanitizeFileName(std::wstring_view name, std::wstring_view fallback);

// A shortcut's file name: `SanitizeFileName`, then ".lnk" appended unless the name already ends
// so in any letter case.
[[nodiscard]] std::wstring LinkFileName(std::wstring_view name, std::wstring_view fallback);

}  // namespace profile
