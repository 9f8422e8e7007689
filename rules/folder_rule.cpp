#include "rules/folder_rule.h"

#include <string>

#include "platform/environment.h"
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
  while (!platform::EntryExists(head)) {
    if (!head.has_relative_path()) return {};
    tail = tail.empty() ? head.filename() : head.filename() / tail;
    head = head.parent_path();
  }
  fs::path resolved;
  if (!platform::ResolveExistingPath(head, resolved)) return {};
  return tail.empty() ? resolved : resolved / tail;
}

namespace {

constexpr std::size_t kShortestRemovableFolder = 6;

bool IsProtectedFolder(const fs::path& canonicalFolder) {
  for (const std::wstring& folder : platform::ProtectedFolders()) {
    const fs::path canonical = CanonicalPath(platform::WideToPath(folder));
    if (!canonical.empty() && canonical == canonicalFolder) return true;
  }
  return false;
}

}  // namespace

fs::path RemovableFolder(const fs::path& folder) {
  const fs::path canonical = CanonicalPath(folder);
  if (canonical.empty()) return {};
  if (canonical == canonical.root_path()) return {};
  if (canonical.native().size() < kShortestRemovableFolder) return {};
  // A tool that sits in Downloads or on the Desktop must never empty that folder.
  if (IsProtectedFolder(canonical)) return {};
  return canonical;
}
