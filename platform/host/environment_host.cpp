#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

std::uint64_t PeakResidentBytes() {
  // Not getrusage: Linux carries the peak of the image that exec replaced (a forking parent)
  // into the new program.
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
  }
  return 0;
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
    if (folder.empty() || folder.front() != '/') continue;  // never the current folder
    const std::string candidate = folder + "/" + name;
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
      std::wstring found = Utf8ToWide(candidate);
      return found.size() < 260 ? found : std::wstring();
    }
  }
  return {};
}

std::wstring SystemProgram(std::wstring_view relativePath) {
  const std::wstring path(relativePath);
  const auto slash = path.find_last_of(L"\\/");
  return SearchProgram(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

}  // namespace platform

#include <ctime>

namespace platform {

LocalDate Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {static_cast<unsigned>(local.tm_year + 1900), static_cast<unsigned>(local.tm_mon + 1),
          static_cast<unsigned>(local.tm_mday)};
}

bool IsRelativePath(const std::wstring& path) {
  return path.empty() || path.front() != L'/';
}

std::vector<std::wstring> ProtectedFolders() {
  std::vector<std::wstring> folders = {L"/",    L"/home", L"/root", L"/usr",
                                       L"/etc", L"/opt",  L"/var"};
  if (const char* home = std::getenv("HOME"); home && *home) {
    const std::wstring base = Utf8ToWide(home);
    folders.push_back(base);
    for (const wchar_t* child :
         {L"Desktop", L"Documents", L"Downloads", L"Pictures", L"Music", L"Videos", L"Public",
          L"Saved Games", L".config", L".local/share"}) {
      folders.push_back(base + L"/" + child);
    }
  }
  for (const char* variable : {"OneDrive", "OneDriveConsumer", "OneDriveCommercial"}) {
    if (const char* path = std::getenv(variable); path && *path)
      folders.push_back(Utf8ToWide(path));
  }
  folders.push_back(TempFolder());
  return folders;
}

std::wstring UsersFolder() {
  return L"/home";
}

}  // namespace platform

namespace platform {

std::wstring OwnModulePath() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::wstring() : Utf8ToWide(self.native());
}

}  // namespace platform
