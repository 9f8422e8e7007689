#include "platform/remove_tree.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

// A folder without write permission keeps its entries; give every folder its owner's write
// permission first. Links are left alone: POSIX remove_all removes them without following.
void MakeFoldersWritable(const fs::path& path) {
  std::error_code ignored;
  if (!fs::is_directory(fs::symlink_status(path, ignored))) return;
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
  for (fs::recursive_directory_iterator it(path, ignored), end; !ignored && it != end;
       it.increment(ignored)) {
    std::error_code entryError;
    if (it->is_directory(entryError) && !it->is_symlink(entryError)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, entryError);
    }
  }
}

}  // namespace

bool RemoveFileTree(const fs::path& path, std::error_code& error) {
  error.clear();
  MakeFoldersWritable(path);
  fs::remove_all(path, error);
  return !error;
}

}  // namespace platform
