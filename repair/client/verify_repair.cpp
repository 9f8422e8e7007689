#include "repair/client/verify_repair.h"

#include <chrono>
#include <cstring>

#include "platform/file_system.h"
#include "platform/text.h"
#include "repair/client/folder_safety.h"
#include "repair/client/own_executable.h"

namespace fs = std::filesystem;

namespace {

using FileKind = platform::FileFacts::Kind;

constexpr std::size_t kCompareChunk = 1 << 20;
constexpr auto kTimeTolerance = std::chrono::seconds(3);

// Depth first, folders before their content; folders we may not open are skipped and links to
// folders are listed but not entered.
fs::recursive_directory_iterator Walk(const fs::path& folder, std::error_code& error) {
  return fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied,
                                          error);
}

std::uint64_t CountRegularFiles(const fs::path& folder) {
  std::uint64_t count = 0;
  std::error_code error;
  for (auto it = Walk(folder, error); !error && it != fs::recursive_directory_iterator();
       it.increment(error)) {
    std::error_code statusError;
    // The entry's own cached type answers without a further query unless it is a link.
    if (it->is_regular_file(statusError)) ++count;
  }
  return count;
}

// The entry's path inside the package, or empty to skip it: an entry whose canonical form lies
// outside the extraction folder (a link pointing elsewhere) must never lead a copy outside the
// client folder.
// The walk enters no linked folder, so only an entry that is itself a link can lead elsewhere;
// every other entry's canonical form is the root's with the walked names appended, and is
// computed without asking the filesystem about each path element again.
fs::path RelativeInside(const fs::directory_entry& entry, const fs::path& root,
                        const fs::path& canonicalRoot) {
  std::error_code error;
  if (!entry.is_symlink(error) && !error) return entry.path().lexically_relative(root);
  const fs::path canonical = CanonicalPath(entry.path());
  if (canonical.empty()) return {};
  fs::path relative = canonical.lexically_relative(canonicalRoot);
  if (relative.empty() || relative.is_absolute() || relative.has_root_name() ||
      *relative.begin() == "..") {
    return {};
  }
  return relative;
}

bool TimesDifferByTolerance(fs::file_time_type a, fs::file_time_type b) {
  // In milliseconds, so that the difference of two far-apart stamps cannot overflow.
  const auto msA = std::chrono::duration_cast<std::chrono::milliseconds>(a.time_since_epoch());
  const auto msB = std::chrono::duration_cast<std::chrono::milliseconds>(b.time_since_epoch());
  return (msA > msB ? msA - msB : msB - msA) >= kTimeTolerance;
}

void SetLastWriteTime(const fs::path& file, fs::file_time_type time) {
  std::error_code ignored;
  fs::last_write_time(file, time, ignored);
}

// The walk has made the target's folders before their content, so they are made here only when
// the first attempt fails (the client folder itself may not exist yet).
bool CopyInto(const fs::path& from, const fs::path& to) {
  std::error_code error;
  if (platform::CopyFileReplacing(from, to, error)) return true;
  if (!fs::create_directories(to.parent_path(), error) || error) return false;
  return platform::CopyFileReplacing(from, to, error);
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
  // Counted before the wipe: an extractor that reported success yet wrote nothing must not leave
  // an emptied client folder behind a "complete".
  const std::uint64_t total = CountRegularFiles(extractFolder);
  if (total == 0) {
    status.FailJob(L"The package holds no client files.");
    return false;
  }
  if (reinstall && !RemoveOldClientFiles(job)) return false;
  status.BeginFileProgress(total,
                           reinstall ? L"Reinstalling client..." : L"Verifying client files...");

  const fs::path& clientFolder = job.context.clientFolder;
  const fs::path canonicalRoot = CanonicalPath(extractFolder);
  const OwnExecutable self(job.context.exePath);
  FileComparer comparer;
  std::uint64_t reached = 0;
  std::uint64_t copied = 0;
  std::error_code walkError;
  for (auto it = Walk(extractFolder, walkError);; it.increment(walkError)) {
    if (status.IsStopRequested()) return false;
    if (walkError) {
      // Files the walk never reached were not checked; the client is not known to be whole.
      status.FailJob(L"Could not read all of the extracted client files.");
      return false;
    }
    if (it == fs::recursive_directory_iterator()) break;
    const fs::path entry = it->path();
    const fs::path relative = RelativeInside(*it, extractFolder, canonicalRoot);
    if (relative.empty()) continue;
    const fs::path target = clientFolder / relative;
    std::error_code error;
    if (it->is_directory(error)) {
      fs::create_directories(target, error);
      continue;
    }
    if (!it->is_regular_file(error)) continue;

    ++reached;
    status.SetFileProgress(
        total, reached, copied,
        (reinstall ? L"Installing " : L"Checking ") + platform::PathToWide(relative));
    // One query per side answers kind, size and time, the package side only when there is a
    // client file to compare; the bytes are read only when the sizes agree.
    platform::FileFacts existing;
    const bool existingKnown = platform::QueryFileFacts(target, existing, error);
    platform::FileFacts source;
    if (!reinstall && existingKnown && existing.kind == FileKind::File &&
        platform::QueryFileFacts(entry, source, error) && source.kind == FileKind::File &&
        source.size == existing.size && comparer.SameBytes(entry, target, source.size)) {
      // A matching file is left as it is, so it need not be told apart from the tool unless
      // its time is to be corrected.
      if (TimesDifferByTolerance(source.lastWriteTime, existing.lastWriteTime) &&
          !self.Matches(target)) {
        SetLastWriteTime(target, source.lastWriteTime);
      }
      continue;
    }
    // The tool exists while it runs, so a missing target cannot be it.
    const bool missing = existingKnown && existing.kind == FileKind::Missing;
    if (!missing && self.Matches(target)) continue;
    if (!CopyInto(entry, target)) {
      status.FailJob(L"Could not repair this file: " + platform::PathToWide(relative));
      return false;
    }
    ++copied;
  }
  std::wstring summary = L"Reinstall complete.";
  if (!reinstall) {
    summary = copied > 0 ? L"Fixed or updated missing/mismatched files."
                         : L"All files are already clean.";
  }
  status.SetFileProgress(total, total, copied, std::move(summary));
  return true;
}
