#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

// Which embedded copy a profile becomes: the package's own values, or the builder's en-US sample
// (which may leave `archiveUrl` empty).
enum class ProfileRole { Package, Sample };

// One thing a publisher must hear about a profile. `line` is 1-based; 0 when the finding is about
// a key the text never sets.
struct ProfileFinding {
  bool error = true;  // false: a warning; the build goes on
  std::size_t line = 0;
  std::string key;
  std::string message;
};

// Checks the profile text as the programs will read it: the format line, unknown keys, flag
// spellings, package URLs, the hash and the accent colour. Findings come in line order.
[[nodiscard]] std::vector<ProfileFinding> CheckProfile(std::string_view text, ProfileRole role);

// The known key (`format` included) nearest to `key` by edit distance, letter case counting
// less than other changes.
[[nodiscard]] std::string_view ClosestProfileKey(std::string_view key);

}  // namespace profile
