#include "platform/file_system.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "platform/win32/handles.h"

namespace platform {

namespace {

namespace chrono = std::chrono;

// FILETIME counts 100 ns ticks from 1601; the file clock holds about 292 years either side of
// its epoch in nanoseconds, so a stamp beyond that is pinned to the edge instead of wrapping.
std::filesystem::file_time_type ToFileTime(const FILETIME& stamp) {
  using Ticks = chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
  constexpr std::int64_t kTicksFrom1601To1970 = 116'444'736'000'000'000;
  const std::uint64_t raw =
      (static_cast<std::uint64_t>(stamp.dwHighDateTime) << 32) | stamp.dwLowDateTime;
  const Ticks sinceUnix(static_cast<std::int64_t>(raw) - kTicksFrom1601To1970);
  const auto ticks = chrono::file_clock::from_sys(chrono::sys_time<Ticks>(sinceUnix));
  constexpr auto kLimit = chrono::duration_cast<Ticks>(chrono::nanoseconds::max()) - Ticks(1);
  return std::filesystem::file_time_type(std::clamp(ticks.time_since_epoch(), -kLimit, kLimit));
}

bool IsNotFound(DWORD code) {
  return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

void Fill(DWORD attributes, DWORD sizeHigh, DWORD sizeLow, const FILETIME& written,
          FileFacts& facts) {
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    facts.kind = FileFacts::Kind::Folder;
  } else if (attributes & FILE_ATTRIBUTE_DEVICE) {
    facts.kind = FileFacts::Kind::Other;
  } else {
    facts.kind = FileFacts::Kind::File;
    facts.size = (static_cast<std::uint64_t>(sizeHigh) << 32) | sizeLow;
  }
  facts.lastWriteTime = ToFileTime(written);
}

std::error_code LastError() {
  return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

}  // namespace

// libstdc++'s copy_file refuses to replace an existing file on Windows ("File exists") even
// with overwrite_existing; CopyFileW is the system's own and replaces it.
bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                       std::error_code& error) {
  error.clear();
  if (CopyFileW(from.c_str(), to.c_str(), /* bFailIfExists */ FALSE)) return true;
  error = LastError();
  return false;
}

// The standard library's canonical forms keep the letter case they were given; the handle's
// final name carries the case stored on disk and resolves links and junctions.
// CreateDirectoryW fails on any entry at the name, a link to a folder included.
bool CreateNewFolder(const std::filesystem::path& path) {
  return CreateDirectoryW(path.c_str(), nullptr) != 0;
}

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

// GetFileAttributesExW reads the directory entry without opening the file; only a reparse
// point (a link or junction) needs the handle, which follows it to what it names.
bool QueryFileFacts(const std::filesystem::path& path, FileFacts& facts, std::error_code& error) {
  error.clear();
  facts = FileFacts{};
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    if (IsNotFound(GetLastError())) return true;
    error = LastError();
    return false;
  }
  if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    Fill(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime, facts);
    return true;
  }
  win32::UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) {
    if (IsNotFound(GetLastError())) return true;
    error = LastError();
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file.get(), &info)) {
    error = LastError();
    return false;
  }
  Fill(info.dwFileAttributes, info.nFileSizeHigh, info.nFileSizeLow, info.ftLastWriteTime, facts);
  return true;
}

struct InputFile::Handle {
  win32::UniqueFile file;
};

InputFile::InputFile() : handle_(std::make_unique<Handle>()) {}
InputFile::~InputFile() = default;

bool InputFile::Open(const std::filesystem::path& path) {
  handle_->file.reset(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  return static_cast<bool>(handle_->file);
}

bool InputFile::Read(std::byte* data, std::size_t size, std::size_t& got) {
  got = 0;
  const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
  DWORD read = 0;
  if (!ReadFile(handle_->file.get(), data, chunk, &read, nullptr)) return false;
  got = read;
  return true;
}

void InputFile::Close() {
  handle_->file.reset();
}

}  // namespace platform
