#include "repair/system/uninstaller_file.h"

#include <filesystem>
#include <fstream>

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
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return static_cast<bool>(out);
}
