#include "repair/client/verify_repair.h"

#include <chrono>
#include <cstring>
#include <fstream>

#include "platform/file_system.h"
#include "platform/text.h"
#include "repair/client/folder_safety.h"
#include "repair/client/own_executable.h"

namespace fs = std::filesystem;

namespace {

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

void MatchLastWriteTime(const fs::path& from, const fs::path& to) {
  std::error_code error;
  const auto source = fs::last_write_time(from, error);
  if (!error) fs::last_write_time(to, source, error);
}

bool TimesDifferByTolerance(const fs::path& a, const fs::path& b) {
  std::error_code errorA;
  std::error_code errorB;
  const auto timeA = fs::last_write_time(a, errorA);
  const auto timeB = fs::last_write_time(b, errorB);
  if (errorA || errorB) return false;
  const auto difference = timeA > timeB ? timeA - timeB : timeB - timeA;
  return difference >= kTimeTolerance;
}

}  // namespace

FileComparer::FileComparer() : extracted_(kCompareChunk), client_(kCompareChunk) {}

bool FileComparer::Match(const fs::path& extractedFile, const fs::path& clientFile) {
  std::error_code error;
  if (!fs::is_regular_file(clientFile, error)) return false;
  const auto extractedSize = fs::file_size(extractedFile, error);
  if (error) return false;
  const auto clientSize = fs::file_size(clientFile, error);
  if (error || extractedSize != clientSize) return false;
  std::ifstream extracted(extractedFile, std::ios::binary);
  std::ifstream client(clientFile, std::ios::binary);
  if (!extracted || !client) return false;
  while (extracted && client) {
    extracted.read(extracted_.data(), static_cast<std::streamsize>(kCompareChunk));
    client.read(client_.data(), static_cast<std::streamsize>(kCompareChunk));
    const auto got = extracted.gcount();
    if (got != client.gcount()) return false;
    if (got > 0 && std::memcmp(extracted_.data(), client_.data(), static_cast<std::size_t>(got))) {
      return false;
    }
  }
  return true;
}

bool FilesMatch(const fs::path& extractedFile, const fs::path& clientFile) {
  return FileComparer().Match(extractedFile, clientFile);
}

bool VerifyAndRepairClient(Job& job, const fs::path& extractFolder, bool reinstall) {
  if (reinstall && !RemoveOldClientFiles(job)) return false;
  RepairStatus& status = job.status;
  const std::uint64_t total = CountRegularFiles(extractFolder);
  status.BeginFileProgress(total, reinstall ? L"Reinstalling client..." : L"Verifying client files...");

  const fs::path& clientFolder = job.context.clientFolder;
  const fs::path canonicalRoot = CanonicalPath(extractFolder);
  const OwnExecutable self(job.context.exePath);
  FileComparer comparer;
  std::uint64_t reached = 0;
  std::uint64_t copied = 0;
  std::error_code walkError;
  for (auto it = Walk(extractFolder, walkError);; it.increment(walkError)) {
    if (status.IsStopRequested()) return false;
    if (walkError || it == fs::recursive_directory_iterator()) break;
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
    status.SetFileProgress(total, reached, copied,
                           (reinstall ? L"Installing " : L"Checking ") + platform::PathToWide(relative));
    if (self.Matches(target)) continue;
    if (!reinstall && comparer.Match(entry, target)) {
      if (TimesDifferByTolerance(entry, target)) MatchLastWriteTime(entry, target);
      continue;
    }
    fs::create_directories(target.parent_path(), error);
    error.clear();
    if (!platform::CopyFileReplacing(entry, target, error)) {
      status.FailJob(L"Could not repair this file: " + platform::PathToWide(relative));
      return false;
    }
    MatchLastWriteTime(entry, target);
    ++copied;
  }
  std::wstring summary = L"Reinstall complete.";
  if (!reinstall) {
    summary = copied > 0 ? L"Fixed or updated missing/mismatched files." : L"All files are already clean.";
  }
  status.SetFileProgress(total, total, copied, std::move(summary));
  return true;
}
