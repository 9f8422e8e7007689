#include "repair/acquire/package_hash.h"

#include <vector>

#include "platform/file_system.h"
#include "platform/sha256.h"
#include "profile/trim.h"
#include "profile/value_forms.h"

namespace repair {

bool HashFileSha256(const std::filesystem::path& file, std::wstring& hex,
                    const platform::StopRequested& stop) {
  platform::InputFile in;
  if (!in.Open(file)) return false;
  platform::Sha256 hash;
  if (!hash.Open()) return false;
  std::vector<std::byte> buffer(1 << 20);
  for (;;) {
    if (stop && stop()) return false;
    std::size_t got = 0;
    if (!in.Read(buffer.data(), buffer.size(), got)) return false;
    if (got == 0) break;
    if (!hash.Add(buffer.data(), got)) return false;
  }
  platform::Sha256Digest digest;
  if (!hash.Finish(digest)) return false;
  static constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring text;
  for (const std::uint8_t byte : digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  hex = std::move(text);
  return true;
}

bool VerifyPackage(Job& job, const std::filesystem::path& file) {
  if (profile::TrimWhitespace(job.profile.archiveSha256).empty()) return true;
  job.status.SetStage(JobStage::Verifying, L"Verifying package...", L"Checking SHA-256 hash...");
  std::wstring actual;
  if (!HashFileSha256(file, actual, [&job] { return job.status.IsStopRequested(); })) {
    if (job.status.IsStopRequested()) return false;  // a stop ends the job without a message
    job.status.FailJob(L"Could not verify the downloaded package.");
    return false;
  }
  if (profile::NormalizeHex(job.profile.archiveSha256) != profile::NormalizeHex(actual)) {
    job.status.FailJob(L"The downloaded package hash does not match the configured SHA-256.");
    return false;
  }
  return true;
}

}  // namespace repair
