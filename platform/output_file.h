#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>

namespace platform {

// A new file created for writing, held without sharing until closed.
class OutputFile {
 public:
  OutputFile();
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the file only when nothing stands at `path`, a link included (never opened through
  // one). False when something does or the file cannot be made.
  [[nodiscard]] bool CreateNew(const std::filesystem::path& path);
  // False when the write fails or is short.
  [[nodiscard]] bool Write(const std::byte* data, std::size_t size);
  void Close();

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

}  // namespace platform
