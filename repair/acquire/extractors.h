#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "repair/core/job.h"

namespace repair {

// A program that can unpack a RAR package, with the arguments to pass after it.
struct ExtractorCandidate {
  std::wstring program;
  std::wstring arguments;

  bool operator==(const ExtractorCandidate&) const = default;
};

// Installed RAR extractors, best first: WinRAR/UnRAR beside the tool, under the Program Files
// folders and on the search path, then 7-Zip likewise. Empty when none is installed.
[[nodiscard]] std::vector<ExtractorCandidate> FindExtractors(const Job& job,
                                                             const std::wstring& archive,
                                                             const std::wstring& folder);

}  // namespace repair
