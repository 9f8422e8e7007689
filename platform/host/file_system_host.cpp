#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <utility>

#include "platform/host/file_time_host.h"
#include "platform/text.h"

namespace platform {

namespace {

// An open file descriptor, closed when the owner goes.
class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int release() { return std::exchange(fd_, -1); }
  void reset(int fd = -1) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

constexpr char kPartialSuffixUtf8[] = "~repair.partial";

bool Failed(std::error_code& error) {
  error = std::error_code(errno, std::generic_category());
  return false;
}

// Moves up to `size` bytes inside the kernel: copy_file_range where the file systems allow it,
// else sendfile, which any pair of regular files supports. `moved` is 0 at the source's end.
bool CopyPiece(int in, int out, std::size_t size, bool& ranged, std::size_t& moved,
               std::error_code& error) {
  for (;;) {
    const ssize_t result = ranged ? copy_file_range(in, nullptr, out, nullptr, size, 0)
                                  : sendfile(out, in, nullptr, size);
    if (result < 0 && errno == EINTR) continue;
    // Some file systems refuse copy_file_range or report nothing copied from a file that is
    // not empty; sendfile takes over from the same position.
    if (result <= 0 && ranged) {
      ranged = false;
      continue;
    }
    if (result < 0) return Failed(error);
    moved = static_cast<std::size_t>(result);
    return true;
  }
}

// A new file of our own at `path`; an old partial copy there is taken away first, so nothing is
// ever written into an entry that stood there before (O_EXCL never follows a link).
UniqueFd CreateFresh(const std::string& path, bool clearLeftover, mode_t mode) {
  if (clearLeftover) unlink(path.c_str());
  return UniqueFd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
}

}  // namespace

// By hand rather than by copy_file, which asks for both files' status by path before opening
// them; here each side is opened once and asked on its handle.
bool CopyFileWhole(const std::filesystem::path& from, const std::filesystem::path& to, bool replace,
                   std::span<std::byte> buffer, const StopRequested& stop, std::error_code& error) {
  error.clear();
  const UniqueFd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in) return Failed(error);
  struct stat info {};
  if (fstat(in.get(), &info) != 0) return Failed(error);
  if (!S_ISREG(info.st_mode)) {
    error = std::make_error_code(std::errc::not_supported);
    return false;
  }
  const std::string written = replace ? to.native() + kPartialSuffixUtf8 : to.native();
  UniqueFd out = CreateFresh(written, replace, info.st_mode & 07777);
  if (!out) return Failed(error);
  const auto abandon = [&](std::error_code why) {
    out.reset();
    unlink(written.c_str());
    error = why;
    return false;
  };
  const std::size_t piece = std::min<std::size_t>(buffer.size(), 1 << 20);
  bool ranged = true;
  auto left = static_cast<std::uint64_t>(info.st_size);
  while (left > 0) {
    if (stop && stop()) return abandon(std::make_error_code(std::errc::operation_canceled));
    std::size_t moved = 0;
    std::error_code copyError;
    const std::size_t want = left < piece ? static_cast<std::size_t>(left) : piece;
    if (!CopyPiece(in.get(), out.get(), want, ranged, moved, copyError)) return abandon(copyError);
    if (moved == 0) break;  // the file shrank meanwhile
    left -= moved;
  }
  const timespec times[2] = {{0, UTIME_OMIT}, info.st_mtim};
  if (futimens(out.get(), times) != 0)
    return abandon(std::error_code(errno, std::generic_category()));
  if (close(out.release()) != 0) return abandon(std::error_code(errno, std::generic_category()));
  if (replace && rename(written.c_str(), to.c_str()) != 0) {
    return abandon(std::error_code(errno, std::generic_category()));
  }
  return true;
}

bool WriteFileWhole(const std::filesystem::path& path, std::span<const std::byte> bytes,
                    std::error_code& error) {
  error.clear();
  const std::string written = path.native() + kPartialSuffixUtf8;
  UniqueFd out = CreateFresh(written, true, 0755);
  const auto abandon = [&] {
    error = std::error_code(errno, std::generic_category());
    out.reset();
    unlink(written.c_str());
    return false;
  };
  if (!out) return Failed(error);
  const std::byte* data = bytes.data();
  std::size_t size = bytes.size();
  while (size > 0) {
    const ssize_t result = write(out.get(), data, size);
    if (result < 0 && errno == EINTR) continue;
    if (result <= 0) {
      if (result == 0) errno = ENOSPC;
      return abandon();
    }
    data += result;
    size -= static_cast<std::size_t>(result);
  }
  if (close(out.release()) != 0) return abandon();
  if (rename(written.c_str(), path.c_str()) != 0) return abandon();
  return true;
}

bool CreateFolders(const std::filesystem::path& folder, std::error_code& error) {
  error.clear();
  std::filesystem::create_directories(folder, error);
  if (!error) return true;
  std::error_code ignored;
  if (std::filesystem::is_directory(folder, ignored)) {
    error.clear();
    return true;
  }
  return false;
}

bool SetLastWriteTime(const std::filesystem::path& path, std::filesystem::file_time_type time,
                      std::error_code& error) {
  error.clear();
  const timespec times[2] = {{0, UTIME_OMIT}, host::ToTimespec(time)};
  if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) return Failed(error);
  return true;
}

bool RenameEntry(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::error_code& error) {
  error.clear();
  if (rename(from.c_str(), to.c_str()) != 0) return Failed(error);
  return true;
}

bool EntryExists(const std::filesystem::path& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat infoA {};
  struct stat infoB {};
  return stat(a.c_str(), &infoA) == 0 && stat(b.c_str(), &infoB) == 0 &&
         infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

// mkdir fails on any entry at the name, a link included.
bool CreateNewFolder(const std::filesystem::path& path) {
  return mkdir(path.c_str(), 0755) == 0;
}

bool ResolveExistingPath(const std::filesystem::path& path, std::filesystem::path& resolved) {
  std::error_code error;
  std::filesystem::path canonical = std::filesystem::canonical(path, error);
  if (error) return false;
  resolved = std::move(canonical);
  return true;
}

bool QueryFileFacts(const std::filesystem::path& path, FileFacts& facts, std::error_code& error) {
  error.clear();
  facts = FileFacts{};
  struct stat info {};
  // lstat first: a plain file or folder, by far the common case, is then answered in one call.
  int result = lstat(path.c_str(), &info);
  if (result == 0 && S_ISLNK(info.st_mode)) result = stat(path.c_str(), &info);
  if (result != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return true;
    error = std::error_code(errno, std::generic_category());
    return false;
  }
  if (S_ISREG(info.st_mode)) {
    facts.kind = FileFacts::Kind::File;
    facts.size = static_cast<std::uint64_t>(info.st_size);
  } else {
    facts.kind = S_ISDIR(info.st_mode) ? FileFacts::Kind::Folder : FileFacts::Kind::Other;
  }
  facts.lastWriteTime = host::ToFileTime(info.st_mtim);
  return true;
}

struct InputFile::Handle {
  UniqueFd fd;
};

InputFile::InputFile() : handle_(std::make_unique<Handle>()) {}
InputFile::~InputFile() = default;

bool InputFile::Open(const std::filesystem::path& path) {
  handle_->fd.reset(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  return static_cast<bool>(handle_->fd);
}

bool InputFile::Read(std::byte* data, std::size_t size, std::size_t& got) {
  got = 0;
  for (;;) {
    const ssize_t read = ::read(handle_->fd.get(), data, size);
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) return false;
    got = static_cast<std::size_t>(read);
    return true;
  }
}

void InputFile::Close() {
  handle_->fd.reset();
}

}  // namespace platform
