#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "repair/core/job.h"

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

// The variable's value; empty when unset, empty, or 4,096 characters or longer.
[[nodiscard]] std::wstring GetEnvironmentPath(std::wstring_view name);

// The program's full path by the system's program search; empty when not found.
[[nodiscard]] std::wstring SearchExecutable(std::wstring_view fileName);

// Appends `path` unless it is empty or already listed (compared ignoring case).
void AddUniquePath(std::vector<std::wstring>& list, const std::wstring& path);

// The text after the last backslash or slash.
[[nodiscard]] std::wstring FileNamePart(const std::wstring& path);
