#include "platform/file_system.h"

#include <string>

#include "platform/win32/handles.h"

namespace platform {

// libstdc++'s copy_file refuses to replace an existing file on Windows ("File exists") even
// with overwrite_existing; CopyFileW is the system's own and replaces it.
bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                       std::error_code& error) {
  error.clear();
  if (CopyFileW(from.c_str(), to.c_str(), /* bFailIfExists */ FALSE)) return true;
  error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
  return false;
}

// The standard library's canonical forms keep the letter case they were given; the handle's
// final name carries the case stored on disk and resolves links and junctions.
bool ResolveExistingPath(const std::filesystem::path& path, std::filesystem::path& resolved) {
  win32::UniqueFile file(CreateFileW(path.c_str(), 0,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return false;
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFinalPathNameByHandleW(file.get(), name.data(), static_cast<DWORD>(name.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return false;
    if (length < name.size()) {
      name.resize(length);
      break;
    }
    name.resize(length + 1);
  }
  if (name.rfind(L"\\\\?\\UNC\\", 0) == 0) {
    name = L"\\\\" + name.substr(8);
  } else if (name.rfind(L"\\\\?\\", 0) == 0) {
    name.erase(0, 4);
  }
  resolved = std::filesystem::path(name);
  return true;
}

}  // namespace platform
