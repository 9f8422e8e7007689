#include "repair/client/folder_safety.h"

#include <vector>

#include "platform/environment.h"
#include "platform/text.h"
#include "repair/client/own_executable.h"
#include "repair/client/remove_tree.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kShortestClientFolder = 6;

bool IsProtectedFolder(const fs::path& canonicalFolder) {
  for (const std::wstring& folder : platform::ProtectedFolders()) {
    const fs::path canonical = CanonicalPath(platform::WideToPath(folder));
    if (!canonical.empty() && canonical == canonicalFolder) return true;
  }
  return false;
}

}  // namespace

bool IsSafeClientFolder(const Job& job) {
  const fs::path folder = CanonicalPath(job.context.clientFolder);
  if (folder.empty()) return false;
  if (folder == folder.root_path()) return false;
  if (folder.native().size() < kShortestClientFolder) return false;
  const fs::path exe = CanonicalPath(job.context.exePath);
  if (exe.empty() || exe.parent_path() != folder) return false;
  // A tool that sits in Downloads or on the Desktop must never empty that folder.
  return !IsProtectedFolder(folder);
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
  for (fs::directory_iterator it(job.context.clientFolder, error), end;
       !error && it != end; it.increment(error)) {
    entries.push_back(it->path());
  }
  // Listed first, removed after: removing while listing could skip or revisit entries.
  for (const fs::path& entry : entries) {
    if (self.Matches(entry)) continue;
    std::error_code ignored;
    RemoveTree(entry, ignored);
  }
  return true;
}
