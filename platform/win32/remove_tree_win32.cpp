#include "platform/remove_tree.h"

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/long_path.h"

namespace platform {

namespace {

void Note(std::error_code& error) {
  if (!error) error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

void RemoveEntry(const std::wstring& path, DWORD attributes, std::error_code& error) {
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    if (!DeleteFileW(path.c_str())) Note(error);
    return;
  }
  // A junction or a link to a folder is a reparse point: only the link itself goes.
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW entry;
    win32::UniqueFind find(FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &entry,
                                            FindExSearchNameMatch, nullptr,
                                            FIND_FIRST_EX_LARGE_FETCH));
    if (find) {
      do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        RemoveEntry(path + L"\\" + name, entry.dwFileAttributes, error);
      } while (FindNextFileW(find.get(), &entry));
    }
  }
  if (RemoveDirectoryW(path.c_str())) return;
  // Some file systems keep a link to a folder as a file entry of its own.
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && DeleteFileW(path.c_str())) return;
  Note(error);
}

}  // namespace

bool RemoveFileTree(const std::filesystem::path& path, std::error_code& error) {
  error.clear();
  std::error_code absoluteError;
  const std::wstring target = win32::ExtendedPath(std::filesystem::absolute(path, absoluteError));
  if (absoluteError) {
    error = absoluteError;
    return false;
  }
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return true;
    error = std::error_code(static_cast<int>(code), std::system_category());
    return false;
  }
  RemoveEntry(target, attributes, error);
  return !error;
}

}  // namespace platform
