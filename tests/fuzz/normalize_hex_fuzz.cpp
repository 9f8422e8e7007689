// NormalizeHex on any UTF-8 text: the ASCII hex digits of the text, lower-cased and in order,
// and nothing else; normalizing twice changes nothing.
#include <cstddef>
#include <cstdint>

#include "platform/text.h"
#include "repair/acquire/package_hash.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/layers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = platform::Utf8ToWide(fuzz::AsText(data, size));
  const std::wstring hex = NormalizeHex(text);

  std::wstring meant;
  for (const wchar_t c : text) {
    if (c >= L'0' && c <= L'9') meant += c;
    if (c >= L'a' && c <= L'f') meant += c;
    if (c >= L'A' && c <= L'F') meant += static_cast<wchar_t>(c - L'A' + L'a');
  }
  if (hex != meant) fuzz::Fail("only the hex digits, lower-cased", {{"text", text}, {"got", hex}});
  if (NormalizeHex(hex) != hex) fuzz::Fail("normalizing twice changes nothing", {{"text", text}});
  return 0;
}
