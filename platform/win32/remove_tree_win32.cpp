#include "platform/remove_tree.h"

#include <string>
#include <vector>

#include "platform/tree_walk.h"
#include "platform/win32/handles.h"
#include "platform/win32/long_path.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

void Note(std::error_code& error) {
  if (!error) error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

void RemoveEntry(const std::wstring& path, const TreeEntry& entry, std::error_code& error) {
  const DWORD attributes = entry.attributes;
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) Note(error);
    return;
  }
  // A junction or a link to a folder is removed itself, never entered.
  if (RemoveDirectoryW(path.c_str())) return;
  // Some file systems keep a link to a folder as a file entry of its own.
  if (entry.kind == TreeEntry::Kind::Link && DeleteFileW(path.c_str())) return;
  Note(error);
}

}  // namespace

bool RemoveFileTree(const fs::path& path, std::error_code& error) {
  error.clear();
  TreeEntry top;
  if (!DescribeEntry(path, top, error)) return !error;
  const std::wstring root = win32::LongPath(path);
  if (top.kind == TreeEntry::Kind::Folder) {
    // Files go as they are listed; folders once their content is gone, deepest first.
    std::vector<std::pair<std::wstring, TreeEntry>> folders;
    std::error_code walkError;
    if (!WalkTree(
            path,
            [&](const TreeEntry& entry) {
              const std::wstring full = root + L"\\" + entry.relative.native();
              if (entry.kind == TreeEntry::Kind::Folder) {
                folders.emplace_back(full, entry);
              } else {
                RemoveEntry(full, entry, error);
              }
              return WalkStep::Continue;
            },
            walkError) &&
        !error) {
      error = walkError;
    }
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
      RemoveEntry(it->first, it->second, error);
    }
  }
  RemoveEntry(root, top, error);
  return !error;
}

}  // namespace platform
