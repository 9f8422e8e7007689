#include "repair/client/verify_repair.h"

#include <chrono>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/text.h"
#include "platform/tree_walk.h"
#include "repair/client/folder_safety.h"
#include "repair/client/own_executable.h"

namespace repair {

namespace fs = std::filesystem;

namespace {

using Kind = platform::TreeEntry::Kind;
using FileKind = platform::FileFacts::Kind;

constexpr std::size_t kCompareChunk = 1 << 20;
constexpr auto kTimeTolerance = std::chrono::seconds(3);

// The regular files below `folder`; `named` counts those at its top named `name` (by
// platform::NameKey).
std::uint64_t CountRegularFiles(const fs::path& folder, const std::wstring& name,
                                std::uint64_t& named) {
  const std::wstring key = platform::NameKey(name);
  std::uint64_t count = 0;
  named = 0;
  std::error_code ignored;
  (void)platform::WalkTree(
      folder,
      [&](const platform::TreeEntry& entry) {
        if (entry.kind != Kind::File) return platform::WalkStep::Continue;
        ++count;
        if (!entry.relative.has_parent_path() && platform::NameKey(entry.name) == key) ++named;
        return platform::WalkStep::Continue;
      },
      ignored, platform::WalkFacts::KindsOnly);
  return count;
}

// Whether `inner` is `outer` or lies below it.
bool IsWithin(const fs::path& inner, const fs::path& outer) {
  auto i = inner.begin();
  for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
    if (i == inner.end() || *i != *o) return false;
  }
  return true;
}

// The client side of the package folders the walk is in, each client folder listed once: the
// walk goes depth first, so the folders it is in form a stack.
class ClientListings {
 public:
  using Entries = std::unordered_map<std::wstring, platform::TreeEntry>;

  explicit ClientListings(const fs::path& clientFolder) : clientFolder_(clientFolder) {}

  // The entries of the client folder matching the package folder `relative`, by name key. A
  // client folder that cannot be listed counts as empty: every file is then taken as missing,
  // created exclusively, and so never written over something that stands there.
  const Entries& For(const fs::path& relative) {
    while (!stack_.empty() && !IsWithin(relative, stack_.back().relative)) stack_.pop_back();
    if (!stack_.empty() && stack_.back().relative == relative) return stack_.back().entries;
    Level& level = stack_.emplace_back();
    level.relative = relative;
    std::vector<platform::TreeEntry> listed;
    std::error_code error;
    (void)platform::ListFolder(clientFolder_ / relative, listed, error);
    level.entries.reserve(listed.size());
    for (platform::TreeEntry& entry : listed) {
      std::wstring key = platform::NameKey(entry.name);
      level.entries.emplace(std::move(key), std::move(entry));
    }
    return level.entries;
  }

 private:
  struct Level {
    fs::path relative;
    Entries entries;
  };
  fs::path clientFolder_;
  std::vector<Level> stack_;
};

bool TimesDifferByTolerance(fs::file_time_type a, fs::file_time_type b) {
  // In milliseconds, so that the difference of two far-apart stamps cannot overflow.
  const auto msA = std::chrono::duration_cast<std::chrono::milliseconds>(a.time_since_epoch());
  const auto msB = std::chrono::duration_cast<std::chrono::milliseconds>(b.time_since_epoch());
  return (msA > msB ? msA - msB : msB - msA) >= kTimeTolerance;
}

// The walk has made the target's folders before their content, so they are made here only when
// the first attempt fails (the client folder itself may not exist yet).
bool CopyInto(const fs::path& from, const fs::path& to, bool replace,
              std::vector<std::byte>& buffer, const platform::StopRequested& stop) {
  if (buffer.empty()) buffer.resize(kCompareChunk);
  std::error_code error;
  if (platform::CopyFileWhole(from, to, replace, buffer, stop, error)) return true;
  if (replace || error == std::errc::operation_canceled ||
      !platform::CreateFolders(to.parent_path(), error)) {
    return false;
  }
  return platform::CopyFileWhole(from, to, replace, buffer, stop, error);
}

// Fills `got` as far as the file allows; short only at its end.
bool ReadFull(platform::InputFile& file, std::byte* data, std::size_t size, std::size_t& got) {
  got = 0;
  while (got < size) {
    std::size_t part = 0;
    if (!file.Read(data + got, size - got, part)) return false;
    if (part == 0) break;
    got += part;
  }
  return true;
}

}  // namespace

FileComparer::FileComparer() : extracted_(kCompareChunk), client_(kCompareChunk) {}

bool FileComparer::Match(const fs::path& extractedFile, const fs::path& clientFile) {
  platform::FileFacts extracted;
  platform::FileFacts client;
  std::error_code error;
  if (!platform::QueryFileFacts(clientFile, client, error) || client.kind != FileKind::File) {
    return false;
  }
  if (!platform::QueryFileFacts(extractedFile, extracted, error) ||
      extracted.kind != FileKind::File || extracted.size != client.size) {
    return false;
  }
  return SameBytes(extractedFile, clientFile, client.size);
}

bool FileComparer::SameBytes(const fs::path& extractedFile, const fs::path& clientFile,
                             std::uint64_t size) {
  bool same = extractedIn_.Open(extractedFile) && clientIn_.Open(clientFile);
  // Reading exactly the known size spares each file the read that would only find its end.
  while (same && size > 0) {
    const std::size_t want = size < kCompareChunk ? static_cast<std::size_t>(size) : kCompareChunk;
    std::size_t gotExtracted = 0;
    std::size_t gotClient = 0;
    same = ReadFull(extractedIn_, extracted_.data(), want, gotExtracted) &&
           ReadFull(clientIn_, client_.data(), want, gotClient) && gotExtracted == want &&
           gotClient == want && std::memcmp(extracted_.data(), client_.data(), want) == 0;
    size -= want;
  }
  // Closed at once: a handle left open could stand in the way of replacing the file next.
  extractedIn_.Close();
  clientIn_.Close();
  return same;
}

bool FilesMatch(const fs::path& extractedFile, const fs::path& clientFile) {
  return FileComparer().Match(extractedFile, clientFile);
}

bool VerifyAndRepairClient(Job& job, const fs::path& extractFolder, bool reinstall) {
  RepairStatus& status = job.status;
  // Counted before the wipe: an extractor that reported success yet wrote nothing, or a package
  // of this tool alone (never copied over itself), must not leave an emptied client folder behind
  // a "complete".
  std::uint64_t tool = 0;
  const std::uint64_t total =
      CountRegularFiles(extractFolder, platform::PathToWide(job.context.exePath.filename()), tool);
  if (total == tool) {
    status.FailJob(L"The package holds no client files.");
    return false;
  }
  if (reinstall && !RemoveOldClientFiles(job)) return false;
  status.BeginFileProgress(total,
                           reinstall ? L"Reinstalling client..." : L"Verifying client files...");

  const fs::path& clientFolder = job.context.clientFolder;
  const OwnExecutable self(job.context.exePath, clientFolder);
  const platform::StopRequested stop = [&status] { return status.IsStopRequested(); };
  ClientListings listings(clientFolder);
  FileComparer comparer;
  std::vector<std::byte> copyBuffer;
  std::uint64_t reached = 0;
  std::uint64_t copied = 0;
  bool ended = false;  // by a stop or a failed copy
  std::error_code walkError;
  const bool walked = platform::WalkTree(
      extractFolder,
      [&](const platform::TreeEntry& entry) {
        if (status.IsStopRequested()) {
          ended = true;
          return platform::WalkStep::Stop;
        }
        // A link in the package is never copied, nor entered; nor is anything but files and
        // folders.
        if (entry.kind == Kind::Link || entry.kind == Kind::Other) {
          return platform::WalkStep::Continue;
        }
        const fs::path target = clientFolder / entry.relative;
        std::error_code error;
        if (entry.kind == Kind::Folder) {
          (void)platform::CreateFolders(target, error);
          return platform::WalkStep::Continue;
        }

        ++reached;
        const std::wstring shown = platform::PathToWide(entry.relative);
        status.SetFileProgress(total, reached, copied,
                               (reinstall ? L"Installing " : L"Checking ") + shown);
        const fs::path parent = entry.relative.parent_path();
        if (parent.empty() && self.IsTopEntry(entry.name)) return platform::WalkStep::Continue;
        const fs::path source = extractFolder / entry.relative;
        // Both sides' facts come from the listings; the bytes are read only when sizes agree.
        const ClientListings::Entries& client = listings.For(parent);
        const auto found = client.find(platform::NameKey(entry.name));
        const bool present = found != client.end();
        if (!reinstall && present) {
          const platform::TreeEntry& existing = found->second;
          if (existing.kind == Kind::File && existing.size == entry.size &&
              comparer.SameBytes(source, target, entry.size)) {
            if (TimesDifferByTolerance(entry.lastWriteTime, existing.lastWriteTime)) {
              (void)platform::SetLastWriteTime(target, entry.lastWriteTime, error);
            }
            return platform::WalkStep::Continue;
          }
          // A link to a file is read through to compare, but never written through.
          platform::FileFacts linked;
          if (existing.kind == Kind::Link && platform::QueryFileFacts(target, linked, error) &&
              linked.kind == FileKind::File && linked.size == entry.size &&
              comparer.SameBytes(source, target, entry.size)) {
            return platform::WalkStep::Continue;
          }
        }
        if (!CopyInto(source, target, present, copyBuffer, stop)) {
          ended = true;
          if (!status.IsStopRequested()) status.FailJob(L"Could not repair this file: " + shown);
          return platform::WalkStep::Stop;
        }
        ++copied;
        return platform::WalkStep::Continue;
      },
      walkError);
  if (ended) return false;
  if (!walked) {
    // Files the walk never reached were not checked; the client is not known to be whole.
    status.FailJob(L"Could not read all of the extracted client files.");
    return false;
  }
  std::wstring summary = L"Reinstall complete.";
  if (!reinstall) {
    summary = copied > 0 ? L"Fixed or updated missing/mismatched files."
                         : L"All files are already clean.";
  }
  status.SetFileProgress(total, total, copied, std::move(summary));
  return true;
}

}  // namespace repair
