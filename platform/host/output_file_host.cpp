#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/output_file.h"

namespace platform {

struct OutputFile::Handle {
  int fd = -1;
  ~Handle() {
    if (fd >= 0) close(fd);
  }
};

OutputFile::OutputFile() : handle_(std::make_unique<Handle>()) {}
OutputFile::~OutputFile() = default;

bool OutputFile::CreateNew(const std::filesystem::path& path) {
  Close();
  handle_->fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  return handle_->fd >= 0;
}

bool OutputFile::Write(const std::byte* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(handle_->fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

void OutputFile::Close() {
  if (handle_->fd >= 0) close(handle_->fd);
  handle_->fd = -1;
}

}  // namespace platform
