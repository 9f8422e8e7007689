#include "repair/system/programs_entry.h"

#include <algorithm>
#include <cstdio>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/tree_walk.h"
#include "profile/trim.h"
#include "rules/programs_key.h"

namespace repair {

namespace fs = std::filesystem;

namespace {

std::wstring InstallDate() {
  const platform::LocalDate today = platform::Today();
  wchar_t text[16] = {};
  std::swprintf(text, std::size(text), L"%04u%02u%02u", today.year, today.month, today.day);
  return text;
}

}  // namespace

std::wstring ProgramsEntryPublisher(const profile::PackageProfile& profile) {
  return profile::FirstNotBlank({&profile.programsPublisher, &profile.companyName},
                                profile::kFallbackPublisher);
}

std::wstring ProgramsEntryVersion(const profile::PackageProfile& profile) {
  return profile::FirstNotBlank(
      {&profile.programsDisplayVersion, &profile.uninstallerProductVersion,
       &profile.installerProductVersion, &profile.downloaderVersion},
      L"");
}

fs::path ResolveStartupExe(const Job& job) {
  const std::wstring& startup = job.profile.startupExe;
  if (startup.empty()) return {};
  if (!platform::IsRelativePath(startup)) return platform::WideToPath(startup);
  return job.context.clientFolder / platform::WideToPath(startup);
}

std::wstring QuotedUninstallString(const std::wstring& path) {
  std::wstring quoted = L"\"";
  for (const wchar_t c : path) {
    if (c == L'"') quoted += L'\\';
    quoted += c;
  }
  return quoted + L"\"";
}

// Sizes from the listing itself; links add nothing and are never entered.
std::uint64_t FolderContentBytes(const fs::path& folder) {
  std::uint64_t total = 0;
  std::error_code error;
  (void)platform::WalkTree(
      folder,
      [&](const platform::TreeEntry& entry) {
        if (entry.kind == platform::TreeEntry::Kind::File) total += entry.size;
        return platform::WalkStep::Continue;
      },
      error);
  return total;
}

bool RegisterProgramsEntry(const Job& job, std::wstring& message) {
  const fs::path& clientFolder = job.context.clientFolder;
  const fs::path uninstaller = clientFolder / L"Uninstall.exe";
  std::error_code error;
  platform::FileFacts facts;
  if (!platform::QueryFileFacts(uninstaller, facts, error) ||
      facts.kind != platform::FileFacts::Kind::File) {
    message = L"Could not register Programs and Features because Uninstall.exe was not written.";
    return false;
  }
  platform::RegistryKey key;
  if (!key.Create(rules::ProgramsKeyPath(job.profile))) {
    message = L"Could not register the game in Programs and Features.";
    return false;
  }
  const fs::path startup = ResolveStartupExe(job);
  platform::FileFacts startupFacts;
  const fs::path iconSource = !startup.empty() &&
                                      platform::QueryFileFacts(startup, startupFacts, error) &&
                                      startupFacts.kind == platform::FileFacts::Kind::File
                                  ? startup
                                  : uninstaller;
  const std::uint64_t kib = (FolderContentBytes(clientFolder) + 1023) / 1024;
  const auto estimatedSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(kib, 0xFFFFFFFFu));

  // Every value is attempted even after one has failed.
  bool ok = key.SetString(L"DisplayName", rules::ProgramsEntryDisplayName(job.profile));
  ok &= key.SetString(L"Publisher", ProgramsEntryPublisher(job.profile));
  ok &= key.SetString(L"DisplayVersion", ProgramsEntryVersion(job.profile));
  ok &= key.SetString(L"InstallLocation", platform::PathToWide(job.context.clientFolder));
  ok &= key.SetString(L"UninstallString", QuotedUninstallString(platform::PathToWide(uninstaller)));
  ok &= key.SetString(L"DisplayIcon", platform::PathToWide(iconSource) + L",0");
  ok &= key.SetString(L"InstallDate", InstallDate());
  if (!job.profile.websiteUrl.empty()) ok &= key.SetString(L"URLInfoAbout", job.profile.websiteUrl);
  ok &= key.SetDword(L"EstimatedSize", estimatedSize);
  ok &= key.SetDword(L"NoModify", 1);
  ok &= key.SetDword(L"NoRepair", 1);
  key.Close();
  if (!ok) {
    message = L"Could not finish writing the Programs and Features registry entry.";
    return false;
  }
  return true;
}

}  // namespace repair
