#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "repair/core/job.h"

namespace repair {

[[nodiscard]] std::wstring ProgramsEntryPublisher(const profile::PackageProfile& profile);
// May be empty: there is no literal default version.
[[nodiscard]] std::wstring ProgramsEntryVersion(const profile::PackageProfile& profile);

// `startupExe` made absolute against the client folder; empty when none is configured.
[[nodiscard]] std::filesystem::path ResolveStartupExe(const Job& job);

// The path in double quotes, each double quote inside escaped with a backslash.
[[nodiscard]] std::wstring QuotedUninstallString(const std::wstring& path);

// The bytes of every regular file under `folder`; links and unreadable parts count nothing.
[[nodiscard]] std::uint64_t FolderContentBytes(const std::filesystem::path& folder);

// Creates or refreshes the game's entry under HKCU ...\Uninstall\<ProgramsKeyName>. On false
// `message` says why.
[[nodiscard]] bool RegisterProgramsEntry(const Job& job, std::wstring& message);

}  // namespace repair
