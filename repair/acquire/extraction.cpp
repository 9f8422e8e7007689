#include "repair/acquire/extraction.h"

#include <vector>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/text.h"
#include "repair/acquire/archive_kind.h"
#include "repair/acquire/command_lines.h"
#include "repair/acquire/extractors.h"
#include "repair/acquire/flatten.h"
#include "repair/acquire/temp_names.h"

namespace repair {

namespace {

constexpr std::uint32_t kWaitSliceMs = 250;
constexpr std::uint32_t kKilledExitCode = 1;
// A killed child may still hold files in the extraction folder for a moment; the next candidate
// or the clean-up waits this long for it to be gone.
constexpr std::uint32_t kKilledWaitMs = 5000;

const wchar_t kNotAnArchive[] =
    L"The downloaded package is not a valid ZIP or RAR archive.\nCheck that the CDN URL points "
    L"directly to the client .zip/.rar file, not an installer EXE or website page.";
const wchar_t kZipFailed[] =
    L"ZIP extraction failed.\nCheck that the downloaded package is a complete .zip archive and "
    L"that you have permission to write to the install folder.";
const wchar_t kNoExtractFolder[] = L"Could not create the temporary extraction folder.";
const wchar_t kNoRarExtractor[] =
    L"RAR repair needs WinRAR, UnRAR, or 7-Zip. Install one of them or place unrar.exe/7z.exe "
    L"beside this tool.";

// Runs `program` with `commandLine` hidden, published as the job's tool process, in 250 ms waits
// that let a stop request kill it. True only when it ran to its end with exit code 0. `exitCode`
// receives the code (0xFFFFFFFF when the start failed); it is left alone when the process was
// killed.
bool RunHiddenProcess(RepairStatus& status, const std::wstring& program,
                      const std::wstring& commandLine, std::uint32_t* exitCode = nullptr) {
  platform::ChildProcess process;
  if (!process.Start(platform::WideToPath(program), commandLine)) {
    if (exitCode) *exitCode = 0xFFFFFFFF;
    return false;
  }
  status.PublishExtractor(process.Ref());
  while (process.Wait(kWaitSliceMs) == platform::ChildProcess::WaitResult::TimedOut) {
    if (status.IsStopRequested()) {
      process.Terminate(kKilledExitCode);
      // Withdrawn before the handle closes, so the window never acts on a closed handle.
      status.SetToolProcess({});
      // Outside the status lock: the window may need it to paint meanwhile.
      (void)process.Wait(kKilledWaitMs);
      return false;
    }
  }
  std::uint32_t code = 1;
  if (!process.ExitCode(code)) code = 1;
  if (exitCode) *exitCode = code;
  status.SetToolProcess({});
  return code == 0;
}

bool ExtractZip(Job& job, const std::wstring& archive, const std::wstring& folder) {
  if (RunHiddenProcess(job.status, platform::SystemProgram(L"tar.exe"),
                       TarExtractCommandLine(archive, folder))) {
    return true;
  }
  if (RunHiddenProcess(job.status,
                       platform::SystemProgram(L"WindowsPowerShell\\v1.0\\powershell.exe"),
                       ExpandArchiveCommandLine(archive, folder))) {
    return true;
  }
  job.status.FailJob(kZipFailed);
  return false;
}

bool ExtractRar(Job& job, const std::wstring& archive, const std::wstring& folder) {
  const std::vector<ExtractorCandidate> candidates = FindExtractors(job, archive, folder);
  if (candidates.empty()) {
    job.status.FailJob(kNoRarExtractor);
    return false;
  }
  std::wstring name;
  std::uint32_t code = 0;
  // A stop is not checked between candidates: each later one is started and killed at once.
  for (const ExtractorCandidate& candidate : candidates) {
    name = platform::PathToWide(platform::WideToPath(candidate.program).filename());
    job.status.SetDetail(L"Extracting with " + name + L"...");
    code = 0;
    if (RunHiddenProcess(job.status, candidate.program,
                         ExtractorCommandLine(candidate.program, candidate.arguments), &code)) {
      return true;
    }
  }
  job.status.FailJob(L"RAR extraction failed with " + name + L" exit code " +
                     std::to_wstring(code) +
                     L".\nCheck that the CDN file is a complete, non-password-protected .rar "
                     L"archive. If it still fails, install 7-Zip or place 7z.exe beside this "
                     L"tool.");
  return false;
}

}  // namespace

bool ExtractPackage(Job& job, const std::filesystem::path& archive, std::filesystem::path& folder) {
  job.status.SetStage(JobStage::Extracting, L"Extracting package...",
                      L"Preparing client files for repair...");
  std::error_code ignored;
  std::filesystem::create_directories(folder.parent_path(), ignored);
  // Only a new folder: an entry already at the name (a planted link) is never extracted into or
  // removed afterwards.
  const std::filesystem::path name = folder;
  folder.clear();  // nothing made yet
  bool created = false;
  for (unsigned attempt = 1; attempt <= kTempNameTries && !created; ++attempt) {
    folder = NumberedTempName(name, attempt);
    created = platform::CreateNewFolder(folder);
  }
  if (!created) {
    folder.clear();
    job.status.FailJob(kNoExtractFolder);
    return false;
  }
  bool extracted = false;
  switch (SniffArchive(archive)) {
    case ArchiveKind::None: job.status.FailJob(kNotAnArchive); return false;
    case ArchiveKind::Zip:
      extracted = ExtractZip(job, platform::PathToWide(archive), platform::PathToWide(folder));
      break;
    case ArchiveKind::Rar:
      extracted = ExtractRar(job, platform::PathToWide(archive), platform::PathToWide(folder));
      break;
  }
  return extracted && FlattenSingleTopFolder(job, folder);
}

}  // namespace repair
