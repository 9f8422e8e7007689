#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace profile {

// One line of profile text that sets a key: raw key and value (escapes unresolved, nothing
// trimmed), and its 1-based line number.
struct ProfileLine {
  std::size_t number = 0;
  std::string_view key;
  std::string_view value;
};

// Every key=value line of `text` in order. Lines split at LF and lose one trailing CR; the key
// ends at the first '=' not taken by a backslash escape; lines without one are skipped.
[[nodiscard]] std::vector<ProfileLine> ScanProfileLines(std::string_view text);

// The first line of `text` without its LF and one trailing CR.
[[nodiscard]] std::string_view FirstProfileLine(std::string_view text);

}  // namespace profile
