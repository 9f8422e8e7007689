#include "platform/tree_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/host/file_time_host.h"
#include "platform/text.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

std::error_code Errno() {
  return std::error_code(errno, std::generic_category());
}

// An open folder, closed with its descriptor when the owner goes.
class Folder {
 public:
  explicit Folder(int fd) : dir_(fd >= 0 ? fdopendir(fd) : nullptr) {
    if (fd >= 0 && !dir_) close(fd);
  }
  ~Folder() {
    if (dir_) closedir(dir_);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  explicit operator bool() const { return dir_ != nullptr; }
  DIR* get() const { return dir_; }
  int fd() const { return dirfd(dir_); }

 private:
  DIR* dir_;
};

// Opens `name` under `parent` (a descriptor, or AT_FDCWD) as a folder, never through a link.
// Empty when it does not exist or may not be opened; false with `error` for any other refusal.
bool OpenFolder(int parent, const char* name, int& fd, std::error_code& error) {
  fd = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) return true;
  if (errno == ENOENT || errno == EACCES || errno == EPERM) return true;
  error = Errno();
  return false;
}

// The entry's kind as the listing gave it, when it did.
bool KindFromListing(unsigned char type, TreeEntry::Kind& kind) {
  switch (type) {
    case DT_DIR: kind = TreeEntry::Kind::Folder; return true;
    case DT_LNK: kind = TreeEntry::Kind::Link; return true;
    case DT_REG: kind = TreeEntry::Kind::File; return true;
    case DT_UNKNOWN: return false;
    default: kind = TreeEntry::Kind::Other; return true;
  }
}

bool Describe(int folder, const char* name, const fs::path& parent, TreeEntry& entry, bool& gone,
              std::error_code& error) {
  struct stat info {};
  gone = false;
  if (fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) {
      gone = true;  // removed since it was listed
      return true;
    }
    error = Errno();
    return false;
  }
  entry.relative = parent / fs::path(name);
  entry.name = PathToWide(fs::path(name));
  entry.size = 0;
  entry.attributes = 0;
  if (S_ISREG(info.st_mode)) {
    entry.kind = TreeEntry::Kind::File;
    entry.size = static_cast<std::uint64_t>(info.st_size);
  } else if (S_ISDIR(info.st_mode)) {
    entry.kind = TreeEntry::Kind::Folder;
  } else if (S_ISLNK(info.st_mode)) {
    entry.kind = TreeEntry::Kind::Link;
  } else {
    entry.kind = TreeEntry::Kind::Other;
  }
  entry.lastWriteTime = host::ToFileTime(info.st_mtim);
  return true;
}

bool IsDots(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Lists the open folder, handing each entry to `each`; false with `error` on a read error.
template <typename Each>
bool ForEachEntry(const Folder& folder, const fs::path& relative, bool facts, Each each,
                  std::error_code& error) {
  TreeEntry entry;
  for (;;) {
    errno = 0;
    const dirent* item = readdir(folder.get());
    if (!item) {
      if (errno != 0) {
        error = Errno();
        return false;
      }
      return true;
    }
    if (IsDots(item->d_name)) continue;
    // Only a file's size and time need the status query; a folder's or a link's kind comes
    // with the listing on most file systems.
    TreeEntry::Kind kind = TreeEntry::Kind::Other;
    if (KindFromListing(item->d_type, kind) && (kind != TreeEntry::Kind::File || !facts)) {
      entry.relative = relative / fs::path(item->d_name);
      entry.name = PathToWide(fs::path(item->d_name));
      entry.kind = kind;
      entry.size = 0;
      entry.attributes = 0;
      entry.lastWriteTime = {};
    } else {
      bool gone = false;
      if (!Describe(folder.fd(), item->d_name, relative, entry, gone, error)) return false;
      if (gone) continue;
    }
    if (!each(entry, item->d_name)) return true;
  }
}

bool WalkFolder(const Folder& folder, const fs::path& relative, bool facts,
                const WalkVisitor& visit, bool& stopped, std::error_code& error) {
  bool ok = true;
  const bool listed = ForEachEntry(
      folder, relative, facts,
      [&](const TreeEntry& entry, const char* name) {
        const WalkStep step = visit(entry);
        if (step == WalkStep::Stop) {
          stopped = true;
          return false;
        }
        if (entry.kind != TreeEntry::Kind::Folder || step == WalkStep::SkipFolder) return true;
        int fd = -1;
        if (!OpenFolder(folder.fd(), name, fd, error)) {
          ok = false;
          return false;
        }
        if (fd < 0) return true;
        const Folder child(fd);
        if (!child) {
          error = Errno();
          ok = false;
          return false;
        }
        if (!WalkFolder(child, entry.relative, facts, visit, stopped, error)) {
          ok = false;
          return false;
        }
        return !stopped;
      },
      error);
  return listed && ok;
}

}  // namespace

bool WalkTree(const fs::path& root, const WalkVisitor& visit, std::error_code& error,
              WalkFacts facts) {
  error.clear();
  int fd = -1;
  if (!OpenFolder(AT_FDCWD, root.c_str(), fd, error)) return false;
  if (fd < 0) return true;
  const Folder folder(fd);
  if (!folder) {
    error = Errno();
    return false;
  }
  bool stopped = false;
  return WalkFolder(folder, fs::path(), facts == WalkFacts::FileFacts, visit, stopped, error);
}

bool ListFolder(const fs::path& folder, std::vector<TreeEntry>& entries, std::error_code& error) {
  error.clear();
  entries.clear();
  // Through a link too: the folder named is listed, as a client folder reached by a link is.
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return true;
    error = Errno();
    return false;
  }
  const Folder open(fd);
  if (!open) {
    error = Errno();
    return false;
  }
  return ForEachEntry(
      open, fs::path(), true,
      [&](const TreeEntry& entry, const char*) {
        entries.push_back(entry);
        return true;
      },
      error);
}

bool DescribeEntry(const fs::path& path, TreeEntry& entry, std::error_code& error) {
  error.clear();
  bool gone = false;
  const fs::path name = path.filename();
  if (!Describe(AT_FDCWD, path.c_str(), fs::path(), entry, gone, error)) return false;
  if (gone) return false;
  entry.relative = name;
  entry.name = PathToWide(name);
  return true;
}

std::wstring NameKey(const std::wstring& name) {
  return name;
}

}  // namespace platform
