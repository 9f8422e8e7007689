#include "platform/file_system.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>

#include "platform/win32/file_time_win32.h"
#include "platform/win32/handles.h"
#include "platform/win32/long_path.h"

namespace platform {

namespace {

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
  facts.lastWriteTime = win32::ToFileTime(written);
}

std::error_code LastError() {
  return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

}  // namespace

namespace {

constexpr DWORD kCarriedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

bool Failed(std::error_code& error) {
  error = LastError();
  return false;
}

bool WriteAll(HANDLE file, const std::byte* data, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr) || written != chunk) return false;
    data += chunk;
    size -= chunk;
  }
  return true;
}

// What a copy needs of its source. GetFileInformationByHandle would also fetch the volume's
// serial number, which costs Wine a request to its mount manager service for every file.
struct SourceFacts {
  DWORD attributes = 0;
  FILETIME lastWrite{};
  std::uint64_t size = 0;
};

bool ReadSourceFacts(HANDLE file, SourceFacts& facts) {
  FILE_BASIC_INFO basic{};
  LARGE_INTEGER size{};
  if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof(basic)) ||
      !GetFileSizeEx(file, &size)) {
    return false;
  }
  facts.attributes = basic.FileAttributes;
  const auto written = static_cast<std::uint64_t>(basic.LastWriteTime.QuadPart);
  facts.lastWrite.dwLowDateTime = static_cast<DWORD>(written);
  facts.lastWrite.dwHighDateTime = static_cast<DWORD>(written >> 32);
  facts.size = static_cast<std::uint64_t>(size.QuadPart);
  return true;
}

// A new file of our own beside (or at) the target; an old partial copy is taken away first so
// that nothing is ever written into an entry that was there before.
win32::UniqueFile CreateFresh(const std::wstring& path, bool clearLeftover) {
  if (clearLeftover) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
  }
  return win32::UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Moves the finished copy over the target; a read-only target has that attribute cleared first
// (and given back if the move still fails).
bool MoveOver(const std::wstring& from, const std::wstring& to, std::error_code& error) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  const DWORD code = GetLastError();

  const DWORD attributes = GetFileAttributesW(to.c_str());
  if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
      SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    error = LastError();
    SetFileAttributesW(to.c_str(), attributes);
    return false;
  }
  error = std::error_code(static_cast<int>(code), std::system_category());
  return false;
}

}  // namespace

// The product's own loop rather than CopyFileExW, so that a stop is seen between pieces on
// every system (Wine's CopyFileExW never calls its progress routine).
bool CopyFileWhole(const std::filesystem::path& from, const std::filesystem::path& to, bool replace,
                   std::span<std::byte> buffer, const StopRequested& stop, std::error_code& error) {
  error.clear();
  const std::wstring target = win32::LongPath(to);
  win32::UniqueFile in(CreateFileW(win32::LongPath(from).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!in) return Failed(error);
  SourceFacts info;
  if (!ReadSourceFacts(in.get(), info)) return Failed(error);
  if (info.attributes & FILE_ATTRIBUTE_DIRECTORY) {
    error = std::make_error_code(std::errc::is_a_directory);
    return false;
  }
  const std::wstring written = replace ? target + kPartialSuffix : target;
  win32::UniqueFile out = CreateFresh(written, replace);
  if (!out) return Failed(error);
  const auto abandon = [&](std::error_code why) {
    out.reset();
    DeleteFileW(written.c_str());
    error = why;
    return false;
  };
  const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1 << 20));
  std::uint64_t left = info.size;
  // Exactly the size known at the start: no read is spent finding the end.
  while (left > 0) {
    if (stop && stop()) return abandon(std::make_error_code(std::errc::operation_canceled));
    const DWORD want = left < piece ? static_cast<DWORD>(left) : piece;
    DWORD got = 0;
    if (!ReadFile(in.get(), buffer.data(), want, &got, nullptr)) return abandon(LastError());
    if (got == 0) break;  // the file shrank meanwhile
    if (!WriteAll(out.get(), buffer.data(), got)) return abandon(LastError());
    left -= got;
  }
  if (!SetFileTime(out.get(), nullptr, nullptr, &info.lastWrite)) {
    return abandon(LastError());
  }
  out.reset();
  if (replace && !MoveOver(written, target, error)) {
    DeleteFileW(written.c_str());
    return false;
  }
  // A written file has the archive attribute already; only the others cost a call.
  const DWORD carried = info.attributes & kCarriedAttributes;
  if ((carried & ~FILE_ATTRIBUTE_ARCHIVE) != 0) SetFileAttributesW(target.c_str(), carried);
  return true;
}

bool WriteFileWhole(const std::filesystem::path& path, std::span<const std::byte> bytes,
                    std::error_code& error) {
  error.clear();
  const std::wstring target = win32::LongPath(path);
  const std::wstring written = target + kPartialSuffix;
  win32::UniqueFile out = CreateFresh(written, true);
  if (!out) return Failed(error);
  if (!WriteAll(out.get(), bytes.data(), bytes.size())) {
    error = LastError();
    out.reset();
    DeleteFileW(written.c_str());
    return false;
  }
  out.reset();
  if (!MoveOver(written, target, error)) {
    DeleteFileW(written.c_str());
    return false;
  }
  return true;
}

bool CreateFolders(const std::filesystem::path& folder, std::error_code& error) {
  error.clear();
  const std::wstring path = win32::LongPath(folder);
  if (CreateDirectoryW(path.c_str(), nullptr)) return true;
  DWORD code = GetLastError();
  if (code == ERROR_PATH_NOT_FOUND && folder.has_relative_path() &&
      folder.parent_path() != folder && CreateFolders(folder.parent_path(), error)) {
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    code = GetLastError();
  }
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error.clear();
    return true;
  }
  error = std::error_code(static_cast<int>(code), std::system_category());
  return false;
}

bool SetLastWriteTime(const std::filesystem::path& path, std::filesystem::file_time_type time,
                      std::error_code& error) {
  error.clear();
  win32::UniqueFile file(CreateFileW(win32::LongPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return Failed(error);
  const FILETIME stamp = win32::ToFiletime(time);
  if (!SetFileTime(file.get(), nullptr, nullptr, &stamp)) return Failed(error);
  return true;
}

bool RenameEntry(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::error_code& error) {
  error.clear();
  if (MoveFileExW(win32::LongPath(from).c_str(), win32::LongPath(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING)) {
    return true;
  }
  return Failed(error);
}

bool EntryExists(const std::filesystem::path& path) {
  return GetFileAttributesW(win32::LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  BY_HANDLE_FILE_INFORMATION infoA{};
  BY_HANDLE_FILE_INFORMATION infoB{};
  for (auto [path, info] : {std::pair{&a, &infoA}, std::pair{&b, &infoB}}) {
    win32::UniqueFile file(CreateFileW(
        win32::LongPath(*path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file || !GetFileInformationByHandle(file.get(), info)) return false;
  }
  return infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
         infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
}

// CreateDirectoryW fails on any entry at the name, a link to a folder included.
bool CreateNewFolder(const std::filesystem::path& path) {
  return CreateDirectoryW(win32::LongPath(path).c_str(), nullptr) != 0;
}

// The standard library's canonical forms keep the letter case they were given; the handle's
// final name carries the case stored on disk and resolves links and junctions.
bool ResolveExistingPath(const std::filesystem::path& path, std::filesystem::path& resolved) {
  win32::UniqueFile file(CreateFileW(win32::LongPath(path).c_str(), 0,
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
  if (!GetFileAttributesExW(win32::LongPath(path).c_str(), GetFileExInfoStandard, &data)) {
    if (IsNotFound(GetLastError())) return true;
    error = LastError();
    return false;
  }
  if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    Fill(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime, facts);
    return true;
  }
  win32::UniqueFile file(CreateFileW(win32::LongPath(path).c_str(), FILE_READ_ATTRIBUTES,
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
  handle_->file.reset(CreateFileW(win32::LongPath(path).c_str(), GENERIC_READ,
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
