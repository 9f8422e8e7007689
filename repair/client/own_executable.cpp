#include "repair/client/own_executable.h"

#include "platform/file_system.h"

namespace fs = std::filesystem;

fs::path CanonicalPath(const fs::path& path) {
  if (path.empty()) return {};
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error).lexically_normal();
  if (error) return {};
  // Resolve the longest head that exists; the rest is appended as written.
  fs::path head = absolute;
  fs::path tail;
  while (!fs::exists(fs::symlink_status(head, error))) {
    if (!head.has_relative_path()) return {};
    tail = tail.empty() ? head.filename() : head.filename() / tail;
    head = head.parent_path();
  }
  fs::path resolved;
  if (!platform::ResolveExistingPath(head, resolved)) return {};
  return tail.empty() ? resolved : resolved / tail;
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
