#pragma once

#include <filesystem>
#include <optional>

#include "repair/core/job.h"
#include "rules/folder_rule.h"

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
