#include "repair/client/folder_safety.h"

#include <vector>

#include "platform/remove_tree.h"
#include "platform/tree_walk.h"
#include "repair/client/own_executable.h"
#include "rules/folder_rule.h"

namespace repair {

namespace fs = std::filesystem;

bool IsSafeClientFolder(const Job& job) {
  const fs::path folder = rules::RemovableFolder(job.context.clientFolder);
  if (folder.empty()) return false;
  const fs::path exe = rules::CanonicalPath(job.context.exePath);
  return !exe.empty() && exe.parent_path() == folder;
}

bool RemoveOldClientFiles(Job& job) {
  if (!IsSafeClientFolder(job)) {
    job.status.FailJob(
        L"Safety check failed. Reinstall can only run from inside the game client folder.");
    return false;
  }
  job.status.SetStage(JobStage::Installing, L"Preparing clean reinstall...",
                      L"Removing old client files...");
  const fs::path& folder = job.context.clientFolder;
  const OwnExecutable self(job.context.exePath, folder);
  // Listed first, removed after: removing while listing could skip or revisit entries. A link
  // at the top is removed itself; nothing is removed through it.
  std::vector<platform::TreeEntry> entries;
  std::error_code error;
  (void)platform::ListFolder(folder, entries, error);
  for (const platform::TreeEntry& entry : entries) {
    if (self.IsTopEntry(entry.name)) continue;
    std::error_code ignored;
    (void)platform::RemoveFileTree(folder / entry.relative, ignored);
  }
  return true;
}

}  // namespace repair
