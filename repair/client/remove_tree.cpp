#include "repair/client/remove_tree.h"

namespace fs = std::filesystem;

namespace {

// A read-only file cannot be deleted on Windows; give every entry its write permission first.
void MakeWritable(const fs::path& path) {
  std::error_code ignored;
  const fs::file_status own = fs::symlink_status(path, ignored);
  if (fs::is_symlink(own)) return;
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ignored);
  if (!fs::is_directory(own)) return;
  for (fs::recursive_directory_iterator it(path, ignored), end; !ignored && it != end;
       it.increment(ignored)) {
    std::error_code entryError;
    if (!it->is_symlink(entryError)) {
      fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, entryError);
    }
  }
}

}  // namespace

bool RemoveTree(const fs::path& path, std::error_code& error) {
  error.clear();
  MakeWritable(path);
  fs::remove_all(path, error);
  return !error;
}
