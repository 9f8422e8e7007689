#include "repair/acquire/download.h"

#include <chrono>
#include <cwchar>
#include <vector>

#include "platform/http.h"
#include "platform/output_file.h"

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr double kPublishInterval = 0.35;

// Leading digits of the header, as _wtoi64 reads them; no digits gives 0.
std::int64_t ParseContentLength(const std::wstring& text) {
  const wchar_t* start = text.c_str();
  while (*start == L' ' || *start == L'\t') ++start;
  return static_cast<std::int64_t>(std::wcstoll(start, nullptr, 10));
}

}  // namespace

bool DownloadPackage(Job& job, const std::wstring& url, const std::filesystem::path& file) {
  RepairStatus& status = job.status;
  platform::CrackedUrl parts;
  if (!platform::CrackUrl(url, parts)) {
    status.FailJob(L"The package URL is not valid.");
    return false;
  }
  const std::wstring object = parts.path + parts.extra;

  platform::HttpGet http;
  if (!http.OpenSession(L"VlmQuorvinRepair/1.0")) {
    status.FailJob(L"Could not start the Windows HTTP downloader.");
    return false;
  }
  if (!http.Connect(parts)) {
    status.FailJob(L"Could not connect to the download host.");
    return false;
  }
  if (!http.OpenRequest(parts, object)) {
    status.FailJob(L"Could not create the download request.");
    return false;
  }
  if (!http.SendAndReceive()) {
    status.FailJob(L"The server did not respond to the download request.");
    return false;
  }
  const std::uint32_t code = http.StatusCode();
  if (code < 200 || code > 299) {
    status.FailJob(L"The server returned HTTP " + std::to_wstring(code) + L".");
    return false;
  }
  std::wstring lengthText;
  const std::int64_t total =
      http.ContentLengthText(lengthText) ? ParseContentLength(lengthText) : 0;

  status.BeginDownloadProgress(total);

  platform::OutputFile output;
  if (!output.Create(file)) {
    status.FailJob(L"Could not create the temporary download file.");
    return false;
  }

  std::vector<std::byte> buffer(kBufferSize);
  std::int64_t received = 0;
  std::int64_t window = 0;
  auto last = std::chrono::steady_clock::now();
  bool outcome = false;
  while (!status.IsStopRequested()) {
    std::size_t got = 0;
    if (!http.Read(buffer.data(), buffer.size(), got)) {
      status.FailJob(L"The download stopped unexpectedly.");
      break;
    }
    if (got == 0) {
      // A connection that ends before the announced length is a cut transfer, not a package.
      outcome = total <= 0 || received >= total;
      if (!outcome) status.FailJob(L"The download stopped unexpectedly.");
      break;
    }
    if (!output.Write(buffer.data(), got)) {
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
  http.Close();
  status.SetDownloadProgress(received, 0.0);
  if (status.IsStopRequested()) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    return false;
  }
  return outcome;
}
