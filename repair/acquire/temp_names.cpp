#include "repair/acquire/temp_names.h"

#include <string>

#include "platform/environment.h"
#include "platform/text.h"
#include "profile/fallbacks.h"
#include "profile/file_name.h"
#include "repair/acquire/archive_kind.h"

namespace repair {

namespace {

std::filesystem::path InTempFolder(const std::wstring& name) {
  return platform::WideToPath(platform::TempFolder()) / platform::WideToPath(name);
}

}  // namespace

std::filesystem::path MakeDownloadPath(const Job& job) {
  const std::wstring& toolName = job.profile.repairToolName;
  const std::wstring stem =
      profile::SanitizeFileName(toolName.empty() ? profile::kFallbackRepairToolStem : toolName,
                                profile::kFallbackRepairToolStem);
  const std::wstring extension = ResolveArchiveKind(job, L"") == L"rar" ? L".rar" : L".zip";
  return InTempFolder(stem + L"_" + std::to_wstring(platform::ProcessId()) + L"_" +
                      std::to_wstring(platform::TickCount()) + extension);
}

std::filesystem::path MakeExtractFolderPath() {
  return InTempFolder(L"VlmQuorvinRepair_" + std::to_wstring(platform::ProcessId()) + L"_" +
                      std::to_wstring(platform::TickCount()));
}

std::filesystem::path NumberedTempName(const std::filesystem::path& name, unsigned attempt) {
  if (attempt <= 1) return name;
  std::filesystem::path numbered = name;
  numbered.replace_filename(platform::WideToPath(platform::PathToWide(name.stem()) + L"_" +
                                                 std::to_wstring(attempt) +
                                                 platform::PathToWide(name.extension())));
  return numbered;
}

}  // namespace repair
