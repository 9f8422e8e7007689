#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <utility>

namespace platform {

namespace {

namespace chrono = std::chrono;

// The file clock holds about 292 years either side of its epoch in nanoseconds; a stamp beyond
// that (a damaged or hand-set one) is pinned to the edge instead of wrapping around.
std::filesystem::file_time_type ToFileTime(const timespec& stamp) {
  using Seconds = chrono::duration<std::int64_t>;
  const auto seconds =
      chrono::file_clock::from_sys(chrono::sys_time<Seconds>(Seconds(stamp.tv_sec)));
  constexpr auto kLimit = chrono::duration_cast<Seconds>(chrono::nanoseconds::max()) - Seconds(1);
  const Seconds since = std::clamp(seconds.time_since_epoch(), -kLimit, kLimit);
  return std::filesystem::file_time_type(since + chrono::nanoseconds(stamp.tv_nsec));
}

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

bool Failed(std::error_code& error) {
  error = std::error_code(errno, std::generic_category());
  return false;
}

// Moves `size` bytes inside the kernel: copy_file_range where the file systems allow it, else
// sendfile, which any pair of regular files supports.
bool CopyBytes(int in, int out, off_t size, std::error_code& error) {
  bool ranged = true;
  while (size > 0) {
    const ssize_t moved =
        ranged ? copy_file_range(in, nullptr, out, nullptr, static_cast<std::size_t>(size), 0)
               : sendfile(out, in, nullptr, static_cast<std::size_t>(size));
    if (moved < 0 && errno == EINTR) continue;
    // Some file systems refuse copy_file_range or report nothing copied from a file that is
    // not empty; sendfile takes over from the same position.
    if (moved <= 0 && ranged) {
      ranged = false;
      continue;
    }
    if (moved < 0) return Failed(error);
    if (moved == 0) break;  // the file shrank meanwhile
    size -= moved;
  }
  return true;
}

}  // namespace

// By hand rather than by copy_file, which asks for both files' status by path before opening
// them; here each side is opened once and asked on its handle. The write time goes with the
// bytes, as CopyFileW does on Windows.
bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                       std::error_code& error) {
  error.clear();
  const UniqueFd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in) return Failed(error);
  struct stat info {};
  if (fstat(in.get(), &info) != 0) return Failed(error);
  if (!S_ISREG(info.st_mode)) {
    error = std::make_error_code(std::errc::not_supported);
    return false;
  }
  UniqueFd out(open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 07777));
  if (!out && errno == EEXIST) {
    // Truncated only once known to be another file: a copy onto itself would empty the source.
    out.reset(open(to.c_str(), O_WRONLY | O_CLOEXEC));
    if (!out) return Failed(error);
    struct stat existing {};
    if (fstat(out.get(), &existing) != 0) return Failed(error);
    if (existing.st_dev == info.st_dev && existing.st_ino == info.st_ino) {
      error = std::make_error_code(std::errc::file_exists);
      return false;
    }
    if (existing.st_size != 0 && ftruncate(out.get(), 0) != 0) return Failed(error);
  }
  if (!out) return Failed(error);
  if (!CopyBytes(in.get(), out.get(), info.st_size, error)) return false;
  const timespec times[2] = {{0, UTIME_OMIT}, info.st_mtim};
  if (futimens(out.get(), times) != 0) return Failed(error);
  if (close(out.release()) != 0) return Failed(error);
  return true;
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
  facts.lastWriteTime = ToFileTime(info.st_mtim);
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
