#include "platform/file_system.h"

namespace platform {

bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                       std::error_code& error) {
  error.clear();
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
  return !error;
}

bool ResolveExistingPath(const std::filesystem::path& path, std::filesystem::path& resolved) {
  std::error_code error;
  std::filesystem::path canonical = std::filesystem::canonical(path, error);
  if (error) return false;
  resolved = std::move(canonical);
  return true;
}

}  // namespace platform
