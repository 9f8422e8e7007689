#pragma once

#include <string>

#include "repair/core/repair_status.h"

namespace repair {

// What the progress bar and the progress line show for a status snapshot. Portable, so that
// both builds test it.

// 0 to 100: bytes for a download of known size, files for the file pass, full while verifying,
// extracting and after completion, empty at rest and after a failure.
[[nodiscard]] double ProgressPercent(const StatusSnapshot& snapshot);

// Pixels of the 630-pixel progress track that the accent fill covers.
[[nodiscard]] int ProgressFillWidth(double percent);

// The status line with the download speed ("  1.5 MB/s", or "  0 MB/s" before a measurement)
// or the file count ("  37/120 files") appended.
[[nodiscard]] std::wstring ProgressLineText(const StatusSnapshot& snapshot);

}  // namespace repair
