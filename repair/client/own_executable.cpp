#include "repair/client/own_executable.h"

#include "platform/text.h"
#include "profile/trim.h"

namespace fs = std::filesystem;

namespace {

std::wstring LowerFileName(const fs::path& path) {
  return Lowered(platform::PathToWide(path.filename()));
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
