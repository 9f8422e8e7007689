#include <windows.h>

#include <psapi.h>

#include "platform/environment.h"
#include "platform/win32/handles.h"

namespace platform {

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, buffer);  // a failure leaves the buffer empty: no temporary folder
  return buffer;
}

std::uint32_t ProcessId() {
  return GetCurrentProcessId();
}

std::uint64_t TickCount() {
  return GetTickCount64();
}

std::uint64_t PeakResidentBytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return 0;
  return counters.PeakWorkingSetSize;
}

std::wstring EnvironmentVariable(std::wstring_view name) {
  constexpr DWORD kCapacity = 4096;
  std::wstring value(kCapacity, L'\0');
  const DWORD length = GetEnvironmentVariableW(std::wstring(name).c_str(), value.data(), kCapacity);
  if (length == 0 || length >= kCapacity) return {};
  value.resize(length);
  return value;
}

std::wstring SearchProgram(std::wstring_view fileName) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length =
      SearchPathW(nullptr, std::wstring(fileName).c_str(), nullptr, MAX_PATH, buffer, nullptr);
  if (length == 0 || length >= MAX_PATH) return {};
  return buffer;
}

}  // namespace platform

#include <knownfolders.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace platform {
LocalDate Today() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

bool IsRelativePath(const std::wstring& path) {
  return PathIsRelativeW(path.c_str()) != FALSE;
}

std::vector<std::wstring> ProtectedFolders() {
  static const KNOWNFOLDERID* const kFolders[] = {
      &FOLDERID_Profile,      &FOLDERID_Desktop,         &FOLDERID_Documents,
      &FOLDERID_Downloads,    &FOLDERID_Pictures,        &FOLDERID_Music,
      &FOLDERID_Videos,       &FOLDERID_Public,          &FOLDERID_PublicDesktop,
      &FOLDERID_UserProfiles, &FOLDERID_Windows,         &FOLDERID_System,
      &FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86, &FOLDERID_ProgramFilesX64,
      &FOLDERID_ProgramData,
  };
  std::vector<std::wstring> folders;
  for (const KNOWNFOLDERID* id : kFolders) {
    win32::UniqueTaskMemText path;
    if (SUCCEEDED(SHGetKnownFolderPath(*id, KF_FLAG_DEFAULT, nullptr, path.out())) && path &&
        *path.get()) {
      folders.emplace_back(path.get());
    }
  }
  return folders;
}

}  // namespace platform

namespace platform {

// GetModuleFileNameW cuts a long path to the buffer and says so only through its result; grow
// the buffer until the whole path fits, so the client folder is always the real one.
std::wstring OwnModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace platform
