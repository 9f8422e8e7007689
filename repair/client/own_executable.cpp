#include "repair/client/own_executable.h"

namespace fs = std::filesystem;

fs::path CanonicalPath(const fs::path& path) {
  if (path.empty()) return {};
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  if (error) return {};
  fs::path canonical = fs::weakly_canonical(absolute, error);
  if (error) return {};
  return canonical;
}

OwnExecutable::OwnExecutable(const fs::path& exePath) : canonical_(CanonicalPath(exePath)) {}

bool OwnExecutable::Matches(const fs::path& path) const {
  if (canonical_.empty()) return false;
  const fs::path canonical = CanonicalPath(path);
  return !canonical.empty() && canonical == canonical_;
}

bool IsOwnExecutable(const Job& job, const fs::path& path) {
  return OwnExecutable(job.context.exePath).Matches(path);
}
