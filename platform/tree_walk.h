#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace platform {

// One entry of a folder listing, with what the listing itself tells of it.
struct TreeEntry {
  // A link (symbolic link, junction, or any reparse point not known to stand for the file it
  // replaces) is never entered, followed or copied through.
  enum class Kind { File, Folder, Link, Other };
  std::filesystem::path relative;  // to the walked (or listed) folder
  std::wstring name;               // last element of `relative`
  Kind kind = Kind::Other;
  // Of a file; the time of other kinds only where the listing carries it (Windows).
  std::uint64_t size = 0;
  std::filesystem::file_time_type lastWriteTime{};
  std::uint32_t attributes = 0;  // the Windows attribute bits; 0 on other systems
};

enum class WalkStep { Continue, SkipFolder, Stop };

using WalkVisitor = std::function<WalkStep(const TreeEntry&)>;

// KindsOnly spares the host a status query per file when only the kinds are wanted (a count);
// the Windows listing carries everything at no extra cost.
enum class WalkFacts { FileFacts, KindsOnly };

// Walks `root` depth first, each folder yielded before its content and its content before its
// next sibling, however long the paths get. Folders that may not be opened are skipped; links
// are yielded and never entered. A root that does not exist is an empty tree. True when the walk
// ended or the visitor stopped it; false with `error` when a folder could not be read.
[[nodiscard]] bool WalkTree(const std::filesystem::path& root, const WalkVisitor& visit,
                            std::error_code& error, WalkFacts facts = WalkFacts::FileFacts);

// One level of `folder`, in listing order. A folder that does not exist is empty; false with
// `error` when it could not be read.
[[nodiscard]] bool ListFolder(const std::filesystem::path& folder, std::vector<TreeEntry>& entries,
                              std::error_code& error);

// What a listing of its parent would tell of the entry at `path` itself (a link is not
// followed); `relative` is its name. False with an empty `error` when nothing stands there.
[[nodiscard]] bool DescribeEntry(const std::filesystem::path& path, TreeEntry& entry,
                                 std::error_code& error);

// The key under which the file system takes two names for the same entry: the name in upper
// case on Windows, where names are case-insensitive; the name itself elsewhere.
[[nodiscard]] std::wstring NameKey(const std::wstring& name);

}  // namespace platform
