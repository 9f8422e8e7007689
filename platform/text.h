#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// UTF-8 to the platform's wide text. Each invalid sequence becomes U+FFFD exactly as
// MultiByteToWideChar with CP_UTF8 and no flags makes it, on every build.
[[nodiscard]] std::wstring Utf8ToWide(std::string_view utf8);

// Wide text to UTF-8; unpaired surrogates become U+FFFD.
[[nodiscard]] std::string WideToUtf8(std::wstring_view wide);

// Paths and wide text, converted losslessly on every build (Linux paths are UTF-8 bytes, which
// the standard library's own conversion handles only for ASCII).
[[nodiscard]] std::filesystem::path WideToPath(std::wstring_view wide);
[[nodiscard]] std::wstring PathToWide(const std::filesystem::path& path);

}  // namespace platform
