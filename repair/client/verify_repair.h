#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/file_system.h"
#include "repair/core/job.h"

namespace repair {

// The file pass: brings the client folder into line with the extracted package. Repair copies
// each file that is missing or differs; reinstall first empties the folder (RemoveOldClientFiles)
// and copies every file. The tool's own executable is never touched, nor anything outside the
// client folder. True when the walk ended; false after FailJob, or on a stop (no message).
[[nodiscard]] bool VerifyAndRepairClient(Job& job, const std::filesystem::path& extractFolder,
                                         bool reinstall);

// Whether `clientFile` is a regular file with the same size and bytes as `extractedFile`.
[[nodiscard]] bool FilesMatch(const std::filesystem::path& extractedFile,
                              const std::filesystem::path& clientFile);

// FilesMatch with its two 1 MiB read buffers and its two files kept across calls.
class FileComparer {
 public:
  FileComparer();
  [[nodiscard]] bool Match(const std::filesystem::path& extractedFile,
                           const std::filesystem::path& clientFile);
  // Whether two files both known to be `size` bytes long hold the same bytes; false when either
  // cannot be read that far.
  [[nodiscard]] bool SameBytes(const std::filesystem::path& extractedFile,
                               const std::filesystem::path& clientFile, std::uint64_t size);

 private:
  std::vector<std::byte> extracted_;
  std::vector<std::byte> client_;
  platform::InputFile extractedIn_;
  platform::InputFile clientIn_;
};

}  // namespace repair
