#include "repair/system/uninstaller_file.h"

#include <filesystem>
#include <span>

#include "platform/file_system.h"
#include "platform/resources.h"

namespace repair {

namespace fs = std::filesystem;

bool WriteUninstaller(const Job& job) {
  std::string bytes;
  if (!platform::ReadRcData({}, platform::kUninstallerResourceId, bytes) || bytes.empty()) {
    return true;
  }
  const fs::path target = job.context.clientFolder / L"Uninstall.exe";
  std::error_code error;
  if (target.has_parent_path()) (void)platform::CreateFolders(target.parent_path(), error);
  // Written beside and moved over: a failed write never leaves a cut-off uninstaller.
  return platform::WriteFileWhole(
      target, std::as_bytes(std::span<const char>(bytes.data(), bytes.size())), error);
}

}  // namespace repair
