#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "profile/package_profile.h"

namespace profile {

// What the programs put in place of a blank profile value, in one place so that a brand's
// words never drift apart between the two programs.
inline constexpr wchar_t kFallbackGameName[] = L"Velmora";
inline constexpr wchar_t kFallbackPublisher[] = L"Quorvin";
inline constexpr wchar_t kFallbackRepairToolName[] = L"VlmQuorvinInstaller.exe";
inline constexpr wchar_t kFallbackRepairToolStem[] = L"VlmQuorvinInstaller";
inline constexpr wchar_t kFallbackStartupExe[] = L"patcher.exe";
inline constexpr std::uint32_t kDefaultAccentColor = 0xFFFFA640;

// The repair tool's fallbacks, applied once after loading: an empty `startupExe` becomes
// "patcher.exe" and an empty `repairToolName` "VlmQuorvinInstaller.exe".
void ApplyRepairToolFallbacks(PackageProfile& profile);

// The URL a job downloads: `requested` trimmed, or `archiveUrl` when that is blank.
[[nodiscard]] std::wstring ChooseJobUrl(std::wstring_view requested, const PackageProfile& profile);

}  // namespace profile
