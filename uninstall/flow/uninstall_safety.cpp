#include "uninstall/flow/uninstall_safety.h"

#include "platform/text.h"
#include "platform/tree_walk.h"
#include "rules/folder_rule.h"

namespace uninstall {

namespace fs = std::filesystem;

fs::path OwnFolderOf(const std::wstring& modulePath) {
  fs::path folder = platform::WideToPath(modulePath).parent_path();
  // A doubled separator before the file name would leave an empty last element.
  while (folder.has_relative_path() && folder.filename().empty()) folder = folder.parent_path();
  return folder;
}

bool UninstallSafetyCheck(const fs::path& ownFolder) {
  const fs::path canonical = rules::RemovableFolder(ownFolder);
  if (canonical.empty()) return false;
  platform::TreeEntry uninstaller;
  std::error_code error;
  return platform::DescribeEntry(canonical / "Uninstall.exe", uninstaller, error) &&
         uninstaller.kind == platform::TreeEntry::Kind::File;
}

}  // namespace uninstall
