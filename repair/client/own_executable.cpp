#include "repair/client/own_executable.h"

#include <vector>

#include "platform/file_system.h"
#include "platform/text.h"
#include "platform/tree_walk.h"

namespace repair {

namespace fs = std::filesystem;

// By name first: the tool's own name is the tool. Then by file identity, asked only of entries
// that could be it (a file of the tool's size, a hard link to it, or a link).
OwnExecutable::OwnExecutable(const fs::path& exePath, const fs::path& clientFolder) {
  const std::wstring ownKey = platform::NameKey(platform::PathToWide(exePath.filename()));
  platform::TreeEntry self;
  std::error_code error;
  const bool selfKnown = platform::DescribeEntry(exePath, self, error);
  std::vector<platform::TreeEntry> entries;
  (void)platform::ListFolder(clientFolder, entries, error);
  for (const platform::TreeEntry& entry : entries) {
    const std::wstring key = platform::NameKey(entry.name);
    if (key == ownKey && exePath.parent_path() == clientFolder) {
      keys_.insert(key);
      continue;
    }
    const bool couldBe =
        entry.kind == platform::TreeEntry::Kind::Link ||
        (entry.kind == platform::TreeEntry::Kind::File && selfKnown && entry.size == self.size);
    if (couldBe && platform::SameFile(clientFolder / entry.relative, exePath)) keys_.insert(key);
  }
}

bool OwnExecutable::IsTopEntry(const std::wstring& name) const {
  return keys_.contains(platform::NameKey(name));
}

}  // namespace repair
