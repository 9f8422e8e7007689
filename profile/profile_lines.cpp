#include "profile/profile_lines.h"

namespace profile {

namespace {

// Position of the first '=' not taken by a backslash escape, or npos.
std::size_t FindKeySeparator(std::string_view line) {
  bool escaped = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (escaped) {
      escaped = false;
    } else if (line[i] == '\\') {
      escaped = true;
    } else if (line[i] == '=') {
      return i;
    }
  }
  return std::string_view::npos;
}

std::string_view DropOneCr(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

std::vector<ProfileLine> ScanProfileLines(std::string_view text) {
  std::vector<ProfileLine> lines;
  std::size_t number = 0;
  while (!text.empty()) {
    ++number;
    const auto end = text.find('\n');
    const std::string_view line = DropOneCr(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    const auto separator = FindKeySeparator(line);
    if (separator == std::string_view::npos) continue;
    lines.push_back({number, line.substr(0, separator), line.substr(separator + 1)});
  }
  return lines;
}

std::string_view FirstProfileLine(std::string_view text) {
  return DropOneCr(text.substr(0, text.find('\n')));
}

}  // namespace profile
