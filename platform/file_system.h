#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <system_error>

namespace platform {

// Copies the bytes and the last write time of `from` to `to`, replacing a file that stands
// there. Fails, leaving both alone, when they name the same file.
[[nodiscard]] bool CopyFileReplacing(const std::filesystem::path& from,
                                     const std::filesystem::path& to, std::error_code& error);

// The full path of an existing file or folder with links resolved and every element spelled as
// the filesystem stores it. False when it does not exist or cannot be opened.
[[nodiscard]] bool ResolveExistingPath(const std::filesystem::path& path,
                                       std::filesystem::path& resolved);

// Creates the folder `path` only when nothing stands at its name (a link included); its parent
// must exist. False when something does or the folder cannot be made.
[[nodiscard]] bool CreateNewFolder(const std::filesystem::path& path);

// What a file pass needs to know of one path, links followed.
struct FileFacts {
  enum class Kind { Missing, File, Folder, Other };
  Kind kind = Kind::Missing;
  std::uint64_t size = 0;  // of a file; 0 otherwise
  std::filesystem::file_time_type lastWriteTime{};
};

// Fills `facts` for `path`, asking the system once when `path` is not a link. A path that does
// not exist (or a link to nothing) is Kind::Missing and still true; false with `error` when the
// system could not answer.
[[nodiscard]] bool QueryFileFacts(const std::filesystem::path& path, FileFacts& facts,
                                  std::error_code& error);

// A file opened for reading, shared with other readers and writers. Reusable: Open closes what
// was open before.
class InputFile {
 public:
  InputFile();
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  [[nodiscard]] bool Open(const std::filesystem::path& path);
  // Reads up to `size` bytes; `got` is 0 at the end of the file. False on a read error.
  [[nodiscard]] bool Read(std::byte* data, std::size_t size, std::size_t& got);
  void Close();

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

}  // namespace platform
