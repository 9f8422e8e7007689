#include "platform/text.h"

namespace platform {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// Continuation bytes a lead byte announces; 0 for bytes that cannot start a sequence.
int TrailingCount(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return 0;
}

// Whether the bits of a lead and its first continuation can still begin a scalar value, so
// overlong forms, surrogates and values above U+10FFFF are refused.
bool IsValidPrefix(int trailing, char32_t prefix) {
  if (trailing == 2) return prefix >= 0x20 && !(prefix >= 0x360 && prefix < 0x380);
  if (trailing == 3) return prefix >= 0x10 && prefix < 0x110;
  return true;
}

}  // namespace

// Decodes as Windows' MultiByteToWideChar (CP_UTF8, no flags) does, checked against it on a
// corpus of every short byte pattern: a bad sequence becomes one U+FFFD that takes the lead and
// the continuation bytes read so far (the first continuation byte goes with the lead even when
// the pair is out of range), and a sequence cut off by the end of the text takes the rest.
std::wstring Utf8ToWide(std::string_view utf8) {
  std::wstring wide;
  wide.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i++]);
    if (lead < 0x80) {
      wide += static_cast<wchar_t>(lead);
      continue;
    }
    const int trailing = TrailingCount(lead);
    if (trailing == 0) {
      wide += kReplacement;
      continue;
    }
    if (utf8.size() - i < static_cast<std::size_t>(trailing)) {
      wide += kReplacement;
      break;
    }
    char32_t code = lead & (0x7F >> (trailing + 1));
    bool valid = true;
    for (int k = 0; k < trailing && valid; ++k) {
      const unsigned bits = static_cast<unsigned char>(utf8[i]) ^ 0x80u;
      if (bits >= 0x40) {
        valid = false;
        break;
      }
      code = (code << 6) | bits;
      ++i;
      if (k == 0) valid = IsValidPrefix(trailing, code);
    }
    wide += valid ? static_cast<wchar_t>(code) : kReplacement;
  }
  return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
  std::string utf8;
  utf8.reserve(wide.size());
  constexpr char32_t kReplacementCode = 0xFFFD;
  for (wchar_t unit : wide) {
    auto code = static_cast<char32_t>(unit);
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = kReplacementCode;
    if (code < 0x80) {
      utf8 += static_cast<char>(code);
    } else if (code < 0x800) {
      utf8 += static_cast<char>(0xC0 | (code >> 6));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (code >> 12));
      utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (code >> 18));
      utf8 += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return utf8;
}

std::filesystem::path WideToPath(std::wstring_view wide) {
  return std::filesystem::path(WideToUtf8(wide));
}

std::wstring PathToWide(const std::filesystem::path& path) {
  return Utf8ToWide(path.native());
}

}  // namespace platform
