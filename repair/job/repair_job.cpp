#include "repair/job/repair_job.h"

#include <filesystem>

#include "platform/environment.h"
#include "platform/remove_tree.h"
#include "platform/text.h"
#include "profile/fallbacks.h"
#include "profile/value_forms.h"
#include "repair/acquire/download.h"
#include "repair/acquire/extraction.h"
#include "repair/acquire/package_hash.h"
#include "repair/acquire/temp_names.h"
#include "repair/client/verify_repair.h"
#include "repair/system/programs_entry.h"
#include "repair/system/uninstaller_file.h"
#include "rules/folder_rule.h"

namespace repair {

namespace fs = std::filesystem;

namespace {

// A job needs a temporary folder outside the client folder: a reinstall empties the client
// folder, its own download and extraction folder with it.
bool HasUsableTempFolder(const Job& job) {
  const std::wstring temp = platform::TempFolder();
  return !temp.empty() && !rules::LiesInside(platform::WideToPath(temp), job.context.clientFolder);
}

// Every step from the URL check to the Programs and Features entry; false once one has failed
// (its message recorded) or a stop ended it. `download` and `extractFolder` come in empty and
// leave naming what was really made (empty for nothing).
bool RunSteps(Job& job, JobMode mode, fs::path& download, fs::path& extractFolder) {
  RepairStatus& status = job.status;
  const std::wstring url = profile::ChooseJobUrl(job.context.jobUrl, job.profile);
  if (!profile::HasWebScheme(url)) {
    status.FailJob(L"No valid CDN package URL is configured.");
    return false;
  }
  if (!HasUsableTempFolder(job)) {
    status.FailJob(
        L"The temporary folder is missing or inside the game folder. Set TEMP to another folder "
        L"and try again.");
    return false;
  }
  // Named only now: a job that fails its checks has made nothing, and its clean-up must not
  // take away whatever already stands at these names.
  download = MakeDownloadPath(job);
  if (!DownloadPackage(job, url, download)) return false;
  if (!VerifyPackage(job, download)) return false;
  extractFolder = MakeExtractFolderPath();
  if (!ExtractPackage(job, download, extractFolder)) return false;
  if (!VerifyAndRepairClient(job, extractFolder, mode == JobMode::Reinstall)) return false;
  // The file pass's summary is what a completed job shows, not the last finishing step.
  const std::wstring summary = status.SnapshotStatus().detailLine;

  status.SetStage(JobStage::Installing, L"Finishing...", L"Writing Uninstall.exe...");
  if (!WriteUninstaller(job)) {
    status.FailJob(L"Could not write Uninstall.exe to the client folder.");
    return false;
  }
  status.SetStage(JobStage::Installing, L"Finishing...",
                  L"Registering Programs and Features entry...");
  std::wstring message;
  if (!RegisterProgramsEntry(job, message)) {
    status.FailJob(message);
    return false;
  }
  status.SetDetail(summary);
  return true;
}

}  // namespace

void RunRepairJob(Job& job, JobMode mode, const std::function<void()>& onComplete) {
  job.status.StartJob(mode);
  fs::path download;
  fs::path extractFolder;
  bool ok = false;
  try {
    ok = RunSteps(job, mode, download, extractFolder);
  } catch (...) {
    // A step that breaks off by an exception (a failed allocation, a library error) must still
    // end the job visibly and let the clean-up run.
    job.status.FailJob(L"The repair stopped because of an unexpected error.");
    ok = false;
  }

  // Only what this job made: a name is empty until its step has created it.
  std::error_code ignored;
  if (job.profile.cleanupArchive && !download.empty()) fs::remove(download, ignored);
  if (!extractFolder.empty()) (void)platform::RemoveFileTree(extractFolder, ignored);

  if (ok) {
    job.status.CompleteJob();
    if (onComplete) onComplete();
  }
}

}  // namespace repair
