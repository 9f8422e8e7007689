#include "repair/acquire/flatten.h"

#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/remove_tree.h"

namespace fs = std::filesystem;

namespace {

// One level, listing order; a listing that cannot be opened is empty, and one that breaks off
// ends where it broke.
std::vector<fs::path> ListEntries(const fs::path& folder) {
  std::vector<fs::path> entries;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    entries.push_back(it->path());
  }
  return entries;
}

// A name in the extraction folder that neither it nor the top folder uses: the top folder is
// renamed to it before its entries move up, so an entry bearing the top folder's own name
// (A\A\...) cannot replace the folder that still holds the rest.
fs::path FreshStagingName(const fs::path& folder, const fs::path& top) {
  for (std::uint64_t n = platform::TickCount();; ++n) {
    const std::wstring name = L"~staging_" + std::to_wstring(n);
    std::error_code ignored;
    if (!fs::exists(fs::symlink_status(folder / name, ignored)) &&
        !fs::exists(fs::symlink_status(top / name, ignored))) {
      return folder / name;
    }
  }
}

}  // namespace

bool MoveEntryInto(const fs::path& source, const fs::path& destination, std::error_code& error) {
  const fs::path target = destination / source.filename();
  std::error_code ignored;
  (void)platform::RemoveFileTree(target, ignored);
  error.clear();
  fs::rename(source, target, error);
  if (!error) return true;
  error.clear();
  if (fs::is_directory(source, ignored)) {
    fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing,
             error);
  } else {
    (void)platform::CopyFileReplacing(source, target, error);  // `error` carries the verdict
  }
  if (error) return false;
  return platform::RemoveFileTree(source, error);
}

bool FlattenSingleTopFolder(Job& job, const fs::path& folder) {
  int folders = 0;
  int others = 0;
  fs::path top;
  for (const fs::path& entry : ListEntries(folder)) {
    std::error_code error;
    if (fs::is_directory(entry, error)) {
      ++folders;
      top = entry;
    } else {
      ++others;
    }
  }
  if (folders != 1 || others != 0) return true;
  // A link would lead the moves out of the extraction folder and empty whatever it points at.
  std::error_code linkError;
  if (fs::is_symlink(fs::symlink_status(top, linkError))) return true;

  job.status.SetStage(JobStage::Extracting, L"Extracting package...",
                      L"Moving client files into place...");
  const fs::path staging = FreshStagingName(folder, top);
  std::error_code error;
  fs::rename(top, staging, error);
  if (error) {
    job.status.FailJob(L"Could not move extracted client files into place.");
    return false;
  }
  for (const fs::path& entry : ListEntries(staging)) {
    if (!MoveEntryInto(entry, folder, error)) {
      job.status.FailJob(L"Could not move extracted client files into place.");
      return false;
    }
  }
  if (!platform::RemoveFileTree(staging, error)) {
    job.status.FailJob(L"Could not remove the extra extracted client folder.");
    return false;
  }
  return true;
}
