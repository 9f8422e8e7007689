#include "repair/client/folder_safety.h"

#include <vector>

#include "platform/remove_tree.h"
#include "repair/client/own_executable.h"
#include "rules/folder_rule.h"

namespace fs = std::filesystem;

bool IsSafeClientFolder(const Job& job) {
  const fs::path folder = RemovableFolder(job.context.clientFolder);
  if (folder.empty()) return false;
  const fs::path exe = CanonicalPath(job.context.exePath);
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
  const OwnExecutable self(job.context.exePath);
  std::vector<fs::path> entries;
  std::error_code error;
  for (fs::directory_iterator it(job.context.clientFolder, error), end; !error && it != end;
       it.increment(error)) {
    entries.push_back(it->path());
  }
  // Listed first, removed after: removing while listing could skip or revisit entries.
  for (const fs::path& entry : entries) {
    if (self.Matches(entry)) continue;
    std::error_code ignored;
    (void)platform::RemoveFileTree(entry, ignored);
  }
  return true;
}
