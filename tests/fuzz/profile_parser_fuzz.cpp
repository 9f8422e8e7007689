// The profile parser on any bytes: no crash or undefined behaviour; every value written back
// with the profile's escapes parses to the same profile; CRLF line ends read as LF; mirror URLs
// come out trimmed and non-empty.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/text.h"
#include "profile/package_profile.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/layers.h"
#include "tests/unit/profile/profile_keys.h"

namespace {

std::string EscapedValue(std::wstring_view value) {
  std::string escaped;
  for (const char c : platform::WideToUtf8(value)) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '=': escaped += "\\e"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\t': escaped += "\\t"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string Written(const PackageProfile& profile) {
  std::string text;
#define WRITE_STRING(key) text += #key "=" + EscapedValue(profile.key) + "\n";
#define WRITE_FLAG(key) text += #key "=" + std::string(profile.key ? "1" : "0") + "\n";
  PROFILE_STRING_KEYS(WRITE_STRING)
  PROFILE_FLAG_KEYS(WRITE_FLAG)
#undef WRITE_STRING
#undef WRITE_FLAG
  std::wstring mirrors;
  for (const std::wstring& url : profile.archiveMirrorUrls) mirrors += url + L"\n";
  text += "archiveMirrorUrls=" + EscapedValue(mirrors) + "\n";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::AsText(data, size);
  const PackageProfile profile = ParsePackageProfile(text);

  constexpr std::wstring_view kBlanks = L" \t\r\n";
  for (const std::wstring& url : profile.archiveMirrorUrls) {
    if (url.empty() || kBlanks.find(url.front()) != std::wstring_view::npos ||
        kBlanks.find(url.back()) != std::wstring_view::npos) {
      fuzz::Fail("mirror URLs are trimmed and non-empty", {{"url", url}});
    }
  }

  const std::string written = Written(profile);
  if (ParsePackageProfile(written) != profile) {
    fuzz::Fail("a profile written back with escapes parses to itself",
               {{"written", platform::Utf8ToWide(written)}});
  }

  if (text.find('\r') == std::string_view::npos) {
    std::string crlf;
    for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    if (ParsePackageProfile(crlf) != profile) {
      fuzz::Fail("CRLF line ends read as LF", {{"text", platform::Utf8ToWide(text)}});
    }
  }
  return 0;
}
