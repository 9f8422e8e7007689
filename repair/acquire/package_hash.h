#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "profile/value_forms.h"
#include "repair/core/job.h"

namespace repair {

// True when no `archiveSha256` is configured or the file's digest equals it (case and
// separators ignored); otherwise fails the job.
[[nodiscard]] bool VerifyPackage(Job& job, const std::filesystem::path& file);

// The file's SHA-256 as 64 lowercase hex digits. False, leaving `hex` untouched, when the file
// cannot be read, the hashing service fails, or `stop` (asked between 1 MiB reads) says so.
[[nodiscard]] bool HashFileSha256(const std::filesystem::path& file, std::wstring& hex,
                                  const platform::StopRequested& stop = {});

}  // namespace repair
