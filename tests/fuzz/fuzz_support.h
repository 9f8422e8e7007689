#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fuzz {

// The fuzz input as text.
[[nodiscard]] std::string_view AsText(const std::uint8_t* data, std::size_t size);

// The input cut at each LF into `count` fields; the last takes the rest, missing ones are empty.
[[nodiscard]] std::vector<std::string_view> Fields(std::string_view text, std::size_t count);

// UTF-8 text made into a string Windows accepts as a path: control characters and " < > | * ?
// dropped, a colon kept only as the drive colon after a leading letter. Blanks, trailing
// backslashes, apostrophes, typographic quotes and any other character stay.
[[nodiscard]] std::wstring WindowsPath(std::string_view utf8);

// Prints the property that failed and the texts involved, then aborts (libFuzzer saves the
// input).
[[noreturn]] void Fail(std::string_view property,
                       std::initializer_list<std::pair<std::string_view, std::wstring>> texts);

// One piece of a PowerShell script: code, or the value of a single-quoted literal.
struct ScriptPiece {
  bool literal = false;
  std::wstring text;

  bool operator==(const ScriptPiece&) const = default;
};

// `script` cut into code and single-quoted literals as PowerShell reads them; false when a
// literal is left open. The scripts checked hold no double-quoted strings or comments.
[[nodiscard]] bool LexScript(std::wstring_view script, std::vector<ScriptPiece>& pieces);

// Placeholders for the paths in a reference built from ordinary text, and their real values.
using Substitutions = std::vector<std::pair<std::wstring, std::wstring>>;

// `reference` with every placeholder replaced by its value.
[[nodiscard]] std::wstring Substitute(std::wstring text, const Substitutions& values);

// Checks that the arguments `actual` are those of `reference` with its placeholders replaced
// (both passed through `same` first, when given), and that each placeholder stands in exactly
// one reference argument.
void ExpectArguments(std::string_view what, const std::vector<std::wstring>& actual,
                     const std::vector<std::wstring>& reference, const Substitutions& values,
                     std::wstring (*same)(std::wstring) = nullptr);

// `text` with a run of backslashes at its end shortened to one: the same folder to Windows.
[[nodiscard]] std::wstring OneTrailingBackslash(std::wstring text);

// Checks that `script` reads as `reference`: the same code, and the same literals with the
// placeholders' literals holding their values.
void ExpectScript(std::string_view what, const std::wstring& script, const std::wstring& reference,
                  const Substitutions& values);

}  // namespace fuzz
