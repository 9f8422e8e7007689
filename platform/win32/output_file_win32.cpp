#include "platform/output_file.h"

#include "platform/win32/handles.h"
#include "platform/win32/long_path.h"

namespace platform {

struct OutputFile::Handle {
  win32::UniqueFile file;
};

OutputFile::OutputFile() : handle_(std::make_unique<Handle>()) {}
OutputFile::~OutputFile() = default;

bool OutputFile::CreateNew(const std::filesystem::path& path) {
  // FILE_FLAG_OPEN_REPARSE_POINT: a link at the name is the name's entry, so CREATE_NEW fails on
  // it instead of creating the file it points to.
  handle_->file.reset(CreateFileW(win32::LongPath(path).c_str(), GENERIC_WRITE, 0 /* no sharing */,
                                  nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  return static_cast<bool>(handle_->file);
}

bool OutputFile::Write(const std::byte* data, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(handle_->file.get(), data, chunk, &written, nullptr) || written != chunk) {
      return false;
    }
    data += chunk;
    size -= chunk;
  }
  return true;
}

void OutputFile::Close() {
  handle_->file.reset();
}

}  // namespace platform
