#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <system_error>

namespace platform {

// Asked between the pieces of a long operation: true ends it.
using StopRequested = std::function<bool()>;

// The name a replacement is written under beside the file it replaces; a leftover of a killed
// run is overwritten by the next copy of that file.
inline constexpr wchar_t kPartialSuffix[] = L"~repair.partial";

// Copies `from` to `to` in pieces of at most `buffer`'s size (asking `stop` before each), then
// gives the copy the source's write time and attributes. With `replace` false `to` is created
// exclusively, so nothing that stands there is written into; with `replace` true the copy is
// written beside `to` (kPartialSuffix) and then moved over it as a directory entry, a read-only
// `to` included, so a link or a hard link at `to` is replaced, never written through. A copy that
// fails or is stopped (std::errc::operation_canceled) removes what it wrote and leaves an existing
// `to` whole.
[[nodiscard]] bool CopyFileWhole(const std::filesystem::path& from, const std::filesystem::path& to,
                                 bool replace, std::span<std::byte> buffer,
                                 const StopRequested& stop, std::error_code& error);

// Puts `bytes` at `path` the same way: written beside it, then moved over whatever file stands
// there, so a failed write never leaves a cut-off file.
[[nodiscard]] bool WriteFileWhole(const std::filesystem::path& path,
                                  std::span<const std::byte> bytes, std::error_code& error);

// Creates `folder` and its missing parents; true when it stands as a folder afterwards.
[[nodiscard]] bool CreateFolders(const std::filesystem::path& folder, std::error_code& error);

[[nodiscard]] bool SetLastWriteTime(const std::filesystem::path& path,
                                    std::filesystem::file_time_type time, std::error_code& error);

// Renames a file or folder within one volume, replacing a file that stands at `to`.
[[nodiscard]] bool RenameEntry(const std::filesystem::path& from, const std::filesystem::path& to,
                               std::error_code& error);

// Whether anything stands at `path`, a link counting as itself (never followed).
[[nodiscard]] bool EntryExists(const std::filesystem::path& path);

// Whether the two paths name one file (the same file identity, whatever the names).
[[nodiscard]] bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

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
