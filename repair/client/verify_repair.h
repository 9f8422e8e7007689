#pragma once

#include <filesystem>
#include <vector>

#include "repair/core/job.h"

// The file pass: brings the client folder into line with the extracted package. Repair copies
// each file that is missing or differs; reinstall first empties the folder (RemoveOldClientFiles)
// and copies every file. The tool's own executable is never touched, nor anything outside the
// client folder. True when the walk ended; false after FailJob, or on a stop (no message).
[[nodiscard]] bool VerifyAndRepairClient(Job& job, const std::filesystem::path& extractFolder,
                                         bool reinstall);

// Whether `clientFile` is a regular file with the same size and bytes as `extractedFile`.
[[nodiscard]] bool FilesMatch(const std::filesystem::path& extractedFile,
                              const std::filesystem::path& clientFile);

// FilesMatch with its two 1 MiB read buffers kept across calls.
class FileComparer {
 public:
  FileComparer();
  [[nodiscard]] bool Match(const std::filesystem::path& extractedFile,
                           const std::filesystem::path& clientFile);

 private:
  std::vector<char> extracted_;
  std::vector<char> client_;
};
