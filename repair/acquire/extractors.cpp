#include "repair/acquire/extractors.h"

#include "platform/environment.h"
#include "platform/text.h"
#include "profile/trim.h"
#include "repair/acquire/command_lines.h"

namespace repair {

namespace {

// Appends `path` unless it is empty or already listed (compared ignoring case).
void AddUniquePath(std::vector<std::wstring>& list, const std::wstring& path) {
  if (path.empty()) return;
  const std::wstring key = profile::Lowered(path);
  for (const std::wstring& entry : list) {
    if (profile::Lowered(entry) == key) return;
  }
  list.push_back(path);
}

// The text after the last backslash or slash.
std::wstring FileNamePart(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// A separator only when the left side lacks one. An empty left side (an unset ProgramFiles) gives
// no candidate: the relative path it would leave is looked up in the current folder.
std::wstring JoinPath(const std::wstring& left, const std::filesystem::path& right) {
  if (left.empty()) return {};
  return platform::PathToWide(platform::WideToPath(left) / right);
}

const std::filesystem::path kWinRarUnrar = std::filesystem::path(L"WinRAR") / L"UnRAR.exe";
const std::filesystem::path kWinRar = std::filesystem::path(L"WinRAR") / L"WinRAR.exe";
const std::filesystem::path kSevenZip = std::filesystem::path(L"7-Zip") / L"7z.exe";

bool IsRegularFile(const std::wstring& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(platform::WideToPath(path), error);
}

std::vector<std::wstring> ExistingFiles(const std::vector<std::wstring>& candidates) {
  std::vector<std::wstring> kept;
  for (const std::wstring& candidate : candidates) {
    if (!candidate.empty() && IsRegularFile(candidate)) AddUniquePath(kept, candidate);
  }
  return kept;
}

}  // namespace

std::vector<ExtractorCandidate> FindExtractors(const Job& job, const std::wstring& archive,
                                               const std::wstring& folder) {
  const std::wstring toolFolder = platform::PathToWide(job.context.exePath.parent_path());
  const std::wstring programFiles = platform::EnvironmentVariable(L"ProgramFiles");
  const std::wstring programFilesX86 = platform::EnvironmentVariable(L"ProgramFiles(x86)");

  std::vector<ExtractorCandidate> result;
  const std::vector<std::wstring> rarFamily = ExistingFiles({
      JoinPath(toolFolder, L"unrar.exe"),
      JoinPath(toolFolder, L"UnRAR.exe"),
      JoinPath(programFiles, kWinRarUnrar),
      JoinPath(programFiles, kWinRar),
      JoinPath(programFilesX86, kWinRarUnrar),
      JoinPath(programFilesX86, kWinRar),
      platform::SearchProgram(L"unrar.exe"),
      platform::SearchProgram(L"WinRAR.exe"),
  });
  for (const std::wstring& program : rarFamily) {
    const bool winrar = profile::Lowered(FileNamePart(program)) == L"winrar.exe";
    result.push_back({program, RarExtractArguments(archive, folder, winrar)});
  }
  const std::vector<std::wstring> sevenZip = ExistingFiles({
      JoinPath(toolFolder, L"7z.exe"),
      JoinPath(toolFolder, L"7za.exe"),
      JoinPath(programFiles, kSevenZip),
      JoinPath(programFilesX86, kSevenZip),
      platform::SearchProgram(L"7z.exe"),
      platform::SearchProgram(L"7za.exe"),
  });
  for (const std::wstring& program : sevenZip) {
    result.push_back({program, SevenZipExtractArguments(archive, folder)});
  }
  return result;
}

}  // namespace repair
