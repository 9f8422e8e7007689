#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>

#include "platform/environment.h"
#include "platform/text.h"

namespace platform {

std::wstring TempFolder() {
  const char* folder = std::getenv("TMPDIR");
  std::string path = folder && *folder ? folder : "/tmp";
  if (path.back() != '/') path += '/';
  return Utf8ToWide(path);
}

std::uint32_t ProcessId() {
  return static_cast<std::uint32_t>(getpid());
}

std::uint64_t TickCount() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

std::wstring EnvironmentVariable(std::wstring_view name) {
  const char* value = std::getenv(WideToUtf8(name).c_str());
  if (!value) return {};
  std::wstring wide = Utf8ToWide(value);
  if (wide.size() >= 4096) return {};
  return wide;
}

std::wstring SearchProgram(std::wstring_view fileName) {
  const std::string name = WideToUtf8(fileName);
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
      std::wstring found = Utf8ToWide(candidate);
      return found.size() < 260 ? found : std::wstring();
    }
  }
  return {};
}

}  // namespace platform
