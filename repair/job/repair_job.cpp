#include "repair/job/repair_job.h"

#include <filesystem>

#include "platform/remove_tree.h"
#include "profile/fallbacks.h"
#include "profile/value_forms.h"
#include "repair/acquire/download.h"
#include "repair/acquire/extraction.h"
#include "repair/acquire/package_hash.h"
#include "repair/acquire/temp_names.h"
#include "repair/client/verify_repair.h"
#include "repair/system/programs_entry.h"
#include "repair/system/uninstaller_file.h"

namespace fs = std::filesystem;

namespace {

// Every step from the URL check to the Programs and Features entry; false once one has failed
// (its message recorded) or a stop ended it.
bool RunSteps(Job& job, JobMode mode, const std::wstring& url, const fs::path& download,
              const fs::path& extractFolder) {
  RepairStatus& status = job.status;
  if (!HasWebScheme(url)) {
    status.FailJob(L"No valid CDN package URL is configured.");
    return false;
  }
  if (!DownloadPackage(job, url, download)) return false;
  if (!VerifyPackage(job, download)) return false;
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
  const fs::path download = MakeDownloadPath(job);
  const fs::path extractFolder = MakeExtractFolderPath();
  const std::wstring url = ChooseJobUrl(job.context.jobUrl, job.profile);

  bool ok = false;
  try {
    ok = RunSteps(job, mode, url, download, extractFolder);
  } catch (...) {
    // A step that breaks off by an exception (a failed allocation, a library error) must still
    // end the job visibly and let the clean-up run.
    job.status.FailJob(L"The repair stopped because of an unexpected error.");
    ok = false;
  }

  std::error_code ignored;
  if (job.profile.cleanupArchive) fs::remove(download, ignored);
  (void)platform::RemoveFileTree(extractFolder, ignored);

  if (ok) {
    job.status.CompleteJob();
    if (onComplete) onComplete();
  }
}
