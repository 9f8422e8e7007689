// A repair tool without its window, for end-to-end runs under Wine: placed in a game folder as
// the tool would be, it runs one job as the window's worker would and reports the outcome.
// Usage: headless_job.exe repair|reinstall URL
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/environment.h"
#include "platform/text.h"
#include "profile/package_profile.h"
#include "repair/core/repair_job.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: headless_job repair|reinstall URL\n");
    return 2;
  }
  PackageProfile profile;
  (void)LoadPackageProfile({}, profile);
  if (profile.startupExe.empty()) profile.startupExe = L"patcher.exe";
  JobContext context;
  context.exePath = platform::WideToPath(platform::OwnModulePath());
  context.clientFolder = context.exePath.parent_path();
  context.jobUrl = argv[2];
  RepairStatus status;
  Job job{profile, context, status};
  const JobMode mode = std::wstring(argv[1]) == L"reinstall" ? JobMode::Reinstall : JobMode::Repair;
  status.BeginJobStatus(mode);
  bool announced = false;
  RunRepairJob(job, mode, [&] { announced = true; });
  const StatusSnapshot snapshot = status.SnapshotStatus();
  std::printf("%s\n%s\n", platform::WideToUtf8(snapshot.statusLine).c_str(),
              platform::WideToUtf8(snapshot.detailLine).c_str());
  return announced && snapshot.stage == JobStage::Complete ? 0 : 1;
}
