#pragma once

#include <filesystem>
#include <optional>

#include "repair/core/job.h"

// A path made absolute, links resolved, "." and ".." removed, existing elements as the
// filesystem spells them; a tail that does not exist is appended as written. Empty on failure.
[[nodiscard]] std::filesystem::path CanonicalPath(const std::filesystem::path& path);

// The running tool's own executable, resolved once so that a whole file pass can ask about it.
class OwnExecutable {
 public:
  explicit OwnExecutable(const std::filesystem::path& exePath);
  // Whether `path` resolves to the tool itself; false when either resolution failed.
  [[nodiscard]] bool Matches(const std::filesystem::path& path) const;

 private:
  // Whether `path` could name the tool at all: the same file name in any letter case, a short
  // (8.3) name, or a link. Anything else is told apart without resolving it.
  bool CouldBeTheTool(const std::filesystem::path& path) const;

  std::filesystem::path canonical_;
  std::wstring fileName_;  // lower case
};

// Whether `path` names the running tool (`exePath`), by equality of canonical forms.
[[nodiscard]] bool IsOwnExecutable(const Job& job, const std::filesystem::path& path);
