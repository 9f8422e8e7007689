#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>

namespace platform {

// A file created (or truncated) for writing, held without sharing until closed.
class OutputFile {
 public:
  OutputFile();
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  [[nodiscard]] bool Create(const std::filesystem::path& path);
  // False when the write fails or is short.
  [[nodiscard]] bool Write(const std::byte* data, std::size_t size);
  void Close();

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

}  // namespace platform
