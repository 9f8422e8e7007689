#include "repair/system/uninstaller_file.h"

#include <filesystem>

#include "platform/output_file.h"
#include "platform/resources.h"

namespace fs = std::filesystem;

bool WriteUninstaller(const Job& job) {
  std::string bytes;
  if (!platform::ReadRcData({}, platform::kUninstallerResourceId, bytes) || bytes.empty()) {
    return true;
  }
  const fs::path target = job.context.clientFolder / L"Uninstall.exe";
  if (target.has_parent_path()) {
    std::error_code ignored;
    fs::create_directories(target.parent_path(), ignored);
  }
  platform::OutputFile out;
  if (!out.Create(target)) return false;
  return out.Write(reinterpret_cast<const std::byte*>(bytes.data()), bytes.size());
}
