#include "repair/acquire/flatten.h"

#include <cstddef>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/remove_tree.h"
#include "platform/tree_walk.h"

namespace repair {

namespace fs = std::filesystem;

namespace {

using Kind = platform::TreeEntry::Kind;

// A name in the extraction folder that neither it nor the top folder uses: the top folder is
// renamed to it before its entries move up, so an entry bearing the top folder's own name
// (A\A\...) cannot replace the folder that still holds the rest.
fs::path FreshStagingName(const fs::path& folder, const fs::path& top) {
  for (std::uint64_t n = platform::TickCount();; ++n) {
    const std::wstring name = L"~staging_" + std::to_wstring(n);
    if (!platform::EntryExists(folder / name) && !platform::EntryExists(top / name)) {
      return folder / name;
    }
  }
}

// The copy that stands in for a refused rename: files and folders only; a link is never
// copied, so nothing outside the package comes along.
bool CopyTree(const fs::path& from, const fs::path& to, std::error_code& error) {
  if (!platform::CreateFolders(to, error)) return false;
  std::vector<std::byte> buffer(1 << 20);
  bool copied = true;
  std::error_code walkError;
  const bool walked = platform::WalkTree(
      from,
      [&](const platform::TreeEntry& entry) {
        const fs::path target = to / entry.relative;
        if (entry.kind == Kind::Folder) {
          copied = platform::CreateFolders(target, error);
        } else if (entry.kind == Kind::File) {
          copied = platform::CopyFileWhole(from / entry.relative, target,
                                           platform::EntryExists(target), buffer, {}, error);
        }
        return copied ? platform::WalkStep::Continue : platform::WalkStep::Stop;
      },
      walkError);
  if (!walked) error = walkError;
  return walked && copied;
}

}  // namespace

bool MoveEntryInto(const fs::path& source, const fs::path& destination, std::error_code& error) {
  const fs::path target = destination / source.filename();
  std::error_code ignored;
  (void)platform::RemoveFileTree(target, ignored);
  if (platform::RenameEntry(source, target, error)) return true;
  platform::TreeEntry entry;
  if (!platform::DescribeEntry(source, entry, error)) {
    if (!error) error = std::make_error_code(std::errc::no_such_file_or_directory);
    return false;
  }
  std::vector<std::byte> buffer;
  if (entry.kind == Kind::Folder) {
    if (!CopyTree(source, target, error)) return false;
  } else if (entry.kind == Kind::File) {
    buffer.resize(1 << 20);
    if (!platform::CopyFileWhole(source, target, platform::EntryExists(target), buffer, {},
                                 error)) {
      return false;
    }
  }
  return platform::RemoveFileTree(source, error);
}

bool FlattenSingleTopFolder(Job& job, const fs::path& folder) {
  int folders = 0;
  int others = 0;
  fs::path top;
  // A link counts as an entry of its own, never as a folder: moving "through" it would empty
  // whatever it points at. A folder that cannot be listed whole is left as extracted; the file
  // pass then reports it.
  std::vector<platform::TreeEntry> topEntries;
  std::error_code unlisted;
  if (!platform::ListFolder(folder, topEntries, unlisted)) return true;
  for (const platform::TreeEntry& entry : topEntries) {
    if (entry.kind == Kind::Folder) {
      ++folders;
      top = folder / entry.relative;
    } else {
      ++others;
    }
  }
  if (folders != 1 || others != 0) return true;

  job.status.SetStage(JobStage::Extracting, L"Extracting package...",
                      L"Moving client files into place...");
  const fs::path staging = FreshStagingName(folder, top);
  std::error_code error;
  fs::path from = staging;
  fs::path selfNamed;  // an entry named like the top folder, parked until the top folder is gone
  if (!platform::RenameEntry(top, staging, error)) {
    // Refused (a scanner holding a file, say): the entries move one by one instead.
    from = top;
  }
  // Whatever a broken-off listing left out would go with the emptied folder below.
  std::vector<platform::TreeEntry> entries;
  if (!platform::ListFolder(from, entries, error)) {
    job.status.FailJob(L"Could not move extracted client files into place.");
    return false;
  }
  for (const platform::TreeEntry& entry : entries) {
    const fs::path source = from / entry.relative;
    bool moved = false;
    if (from == top && entry.relative == top.filename()) {
      selfNamed = FreshStagingName(folder, top);
      // Moved under its own name it would replace the folder being emptied.
      moved = platform::RenameEntry(source, selfNamed, error);
    } else {
      moved = MoveEntryInto(source, folder, error);
    }
    if (!moved) {
      job.status.FailJob(L"Could not move extracted client files into place.");
      return false;
    }
  }
  if (!platform::RemoveFileTree(from, error) ||
      (!selfNamed.empty() && !platform::RenameEntry(selfNamed, top, error))) {
    job.status.FailJob(L"Could not remove the extra extracted client folder.");
    return false;
  }
  return true;
}

}  // namespace repair
