#include "platform/remove_tree.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/tree_walk.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

void Note(std::error_code& error) {
  if (!error) error = std::error_code(errno, std::generic_category());
}

// A folder without its owner's write permission keeps its entries.
void MakeRemovable(const fs::path& folder) {
  struct stat info {};
  if (lstat(folder.c_str(), &info) == 0 && (info.st_mode & S_IRWXU) != S_IRWXU) {
    chmod(folder.c_str(), (info.st_mode & 07777) | S_IRWXU);
  }
}

void RemoveEntry(const fs::path& path, TreeEntry::Kind kind, std::error_code& error) {
  if ((kind == TreeEntry::Kind::Folder ? rmdir(path.c_str()) : unlink(path.c_str())) != 0 &&
      errno != ENOENT) {
    Note(error);
  }
}

}  // namespace

bool RemoveFileTree(const fs::path& path, std::error_code& error) {
  error.clear();
  TreeEntry top;
  if (!DescribeEntry(path, top, error)) return !error;
  if (top.kind == TreeEntry::Kind::Folder) {
    MakeRemovable(path);
    // Files go as they are listed; folders once their content is gone, deepest first.
    std::vector<fs::path> folders;
    std::error_code walkError;
    if (!WalkTree(
            path,
            [&](const TreeEntry& entry) {
              const fs::path full = path / entry.relative;
              if (entry.kind == TreeEntry::Kind::Folder) {
                MakeRemovable(full);
                folders.push_back(full);
              } else {
                RemoveEntry(full, entry.kind, error);
              }
              return WalkStep::Continue;
            },
            walkError) &&
        !error) {
      error = walkError;
    }
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
      RemoveEntry(*it, TreeEntry::Kind::Folder, error);
    }
  }
  RemoveEntry(path, top.kind, error);
  return !error;
}

}  // namespace platform
