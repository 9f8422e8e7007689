#include "repair/client/own_executable.h"

#include <cwctype>

#include "platform/file_system.h"
#include "platform/text.h"

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

namespace {

std::wstring LowerFileName(const fs::path& path) {
  std::wstring name = platform::PathToWide(path.filename());
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
  return name;
}

}  // namespace

OwnExecutable::OwnExecutable(const fs::path& exePath)
    : canonical_(CanonicalPath(exePath)), fileName_(LowerFileName(canonical_)) {}

bool OwnExecutable::CouldBeTheTool(const fs::path& path) const {
  const std::wstring name = LowerFileName(path);
  if (name == fileName_ || name.find(L'~') != std::wstring::npos) return true;
  std::error_code error;
  return fs::is_symlink(fs::symlink_status(path, error)) || error;
}

bool OwnExecutable::Matches(const fs::path& path) const {
  if (canonical_.empty() || !CouldBeTheTool(path)) return false;
  const fs::path canonical = CanonicalPath(path);
  return !canonical.empty() && canonical == canonical_;
}

bool IsOwnExecutable(const Job& job, const fs::path& path) {
  return OwnExecutable(job.context.exePath).Matches(path);
}
