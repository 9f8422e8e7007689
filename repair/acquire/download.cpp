#include "repair/acquire/download.h"

#include <chrono>
#include <cwchar>
#include <span>
#include <vector>

#include "platform/output_file.h"
#include "repair/acquire/network_fetch.h"
#include "repair/acquire/temp_names.h"

namespace repair {

namespace {

constexpr double kPublishInterval = 0.35;

// Leading digits of the header, as _wtoi64 reads them; no digits gives 0.
std::int64_t ParseContentLength(const std::wstring& text) {
  const wchar_t* start = text.c_str();
  while (*start == L' ' || *start == L'\t') ++start;
  return static_cast<std::int64_t>(std::wcstoll(start, nullptr, 10));
}

const wchar_t* FailureMessage(NetworkFetch::Step step) {
  switch (step) {
    case NetworkFetch::Step::Session: return L"Could not start the Windows HTTP downloader.";
    case NetworkFetch::Step::Connect: return L"Could not connect to the download host.";
    case NetworkFetch::Step::Request: return L"Could not create the download request.";
    case NetworkFetch::Step::Send: return L"The server did not respond to the download request.";
    case NetworkFetch::Step::Body: break;
  }
  return L"The download stopped unexpectedly.";
}

}  // namespace

bool DownloadPackage(Job& job, const std::wstring& url, std::filesystem::path& file) {
  RepairStatus& status = job.status;
  const std::filesystem::path name = file;
  file.clear();  // nothing made yet
  platform::CrackedUrl parts;
  if (!platform::CrackUrl(url, parts)) {
    status.FailJob(L"The package URL is not valid.");
    return false;
  }

  const auto stop = [&status] { return status.IsStopRequested(); };
  NetworkFetch fetch(parts, L"VlmQuorvinRepair/1.0");
  NetworkFetch::Head head;
  switch (fetch.AwaitHead(stop, head)) {
    case NetworkFetch::Outcome::Ready: break;
    case NetworkFetch::Outcome::Stopped: return false;
    case NetworkFetch::Outcome::Failed:
      status.FailJob(FailureMessage(fetch.FailedStep()));
      return false;
  }
  const std::uint32_t code = head.statusCode;
  if (code < 200 || code > 299) {
    status.FailJob(L"The server returned HTTP " + std::to_wstring(code) + L".");
    return false;
  }
  const std::int64_t total = head.hasLength ? ParseContentLength(head.lengthText) : 0;

  status.BeginDownloadProgress(total);

  platform::OutputFile output;
  // Only a new file: whatever stands at the name (another program's file, a planted link) is
  // never opened, truncated or removed.
  bool created = false;
  for (unsigned attempt = 1; attempt <= kTempNameTries && !created; ++attempt) {
    file = NumberedTempName(name, attempt);
    created = output.CreateNew(file);
  }
  if (!created) {
    file.clear();
    status.FailJob(L"Could not create the temporary download file.");
    return false;
  }

  std::int64_t received = 0;
  std::int64_t window = 0;
  auto last = std::chrono::steady_clock::now();
  bool outcome = false;
  while (!stop()) {
    std::span<const std::byte> chunk;
    const NetworkFetch::Outcome next = fetch.NextChunk(stop, chunk);
    if (next == NetworkFetch::Outcome::Stopped) break;
    if (next == NetworkFetch::Outcome::Failed) {
      status.FailJob(L"The download stopped unexpectedly.");
      break;
    }
    const std::size_t got = chunk.size();
    if (got == 0) {
      // A connection that ends before the announced length is a cut transfer, not a package.
      outcome = total <= 0 || received >= total;
      if (!outcome) status.FailJob(L"The download stopped unexpectedly.");
      break;
    }
    if (!output.Write(chunk.data(), got)) {
      status.FailJob(L"Could not write the downloaded data to disk.");
      break;
    }
    received += static_cast<std::int64_t>(got);
    window += static_cast<std::int64_t>(got);
    const auto now = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double>(now - last).count();
    if (elapsed >= kPublishInterval) {
      status.SetDownloadProgress(received, static_cast<double>(window) / elapsed);
      last = now;
      window = 0;
    }
  }

  output.Close();
  status.SetDownloadProgress(received, 0.0);
  if (status.IsStopRequested()) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    file.clear();
    return false;
  }
  return outcome;
}

}  // namespace repair
