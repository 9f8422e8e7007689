#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "repair/core/job.h"

namespace repair {

enum class ArchiveKind { None = 0, Zip = 1, Rar = 2 };

// "zip" or "rar" from `archiveType`, or, when that is empty or "auto", from the URL (or the
// job's URL, or `archiveUrl`). Decides only the download file's extension.
[[nodiscard]] std::wstring ResolveArchiveKind(const Job& job, std::wstring_view url);

// The kind the file's first bytes announce; None for anything else or an unreadable file.
[[nodiscard]] ArchiveKind SniffArchive(const std::filesystem::path& file);

// The kind that `head`, the first bytes of a file (8 suffice), announces; None for anything else.
[[nodiscard]] ArchiveKind SniffArchive(std::span<const std::byte> head);

}  // namespace repair
