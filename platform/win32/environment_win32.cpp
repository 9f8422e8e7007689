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

namespace {

// An absolute folder: a drive letter with its root, or a \\server\share path. A relative entry
// of PATH (or an empty one) would mean the current folder, which may be the game folder.
bool IsAbsoluteFolder(const std::wstring& folder) {
  if (folder.size() >= 3 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/')) {
    return true;
  }
  return folder.size() >= 3 && (folder[0] == L'\\' || folder[0] == L'/') &&
         (folder[1] == L'\\' || folder[1] == L'/');
}

}  // namespace

std::wstring SearchProgram(std::wstring_view fileName) {
  std::wstring path(GetEnvironmentVariableW(L"PATH", nullptr, 0), L'\0');
  const DWORD length =
      GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return {};
  path.resize(length);
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(L';', start);
    if (end == std::wstring::npos) end = path.size();
    std::wstring folder = path.substr(start, end - start);
    start = end + 1;
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"') {
      folder = folder.substr(1, folder.size() - 2);
    }
    if (!IsAbsoluteFolder(folder)) continue;
    if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    const std::wstring candidate = folder + std::wstring(fileName);
    const DWORD attributes = GetFileAttributesW(candidate.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    return candidate.size() < MAX_PATH ? candidate : std::wstring();
  }
  return {};
}

std::wstring SystemProgram(std::wstring_view relativePath) {
  wchar_t buffer[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring program(buffer, length);
  if (program.back() != L'\\') program += L'\\';
  return program + std::wstring(relativePath);
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

namespace {

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
  win32::UniqueTaskMemText path;
  if (FAILED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, path.out())) || !path) return {};
  return path.get();
}

}  // namespace

std::vector<std::wstring> ProtectedFolders() {
  static const KNOWNFOLDERID* const kFolders[] = {
      &FOLDERID_Profile,         &FOLDERID_Desktop,      &FOLDERID_Documents,
      &FOLDERID_Downloads,       &FOLDERID_Pictures,     &FOLDERID_Music,
      &FOLDERID_Videos,          &FOLDERID_SavedGames,   &FOLDERID_RoamingAppData,
      &FOLDERID_LocalAppData,    &FOLDERID_SkyDrive,     &FOLDERID_Public,
      &FOLDERID_PublicDesktop,   &FOLDERID_UserProfiles, &FOLDERID_Windows,
      &FOLDERID_System,          &FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86,
      &FOLDERID_ProgramFilesX64, &FOLDERID_ProgramData,
  };
  std::vector<std::wstring> folders;
  for (const KNOWNFOLDERID* id : kFolders) {
    std::wstring path = KnownFolder(*id);
    if (!path.empty()) folders.push_back(std::move(path));
  }
  for (const wchar_t* variable : {L"OneDrive", L"OneDriveConsumer", L"OneDriveCommercial"}) {
    std::wstring path = EnvironmentVariable(variable);
    if (!path.empty()) folders.push_back(std::move(path));
  }
  if (std::wstring temp = TempFolder(); !temp.empty()) folders.push_back(std::move(temp));
  return folders;
}

std::wstring UsersFolder() {
  return KnownFolder(FOLDERID_UserProfiles);
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
