// A repair tool without its window, for end-to-end runs under Wine: placed in a game folder as
// the tool would be, it runs one job as the window's worker would and reports the outcome.
// Usage: headless_job.exe repair|reinstall URL [--sha256 HEX] [--stop-at STAGE [--stop-after MS]]
// STAGE is download, verify, extract, files or finish: once the job has reached it (and MS more
// milliseconds have passed) the harness stops the job the way the window's close path does.
// Prints the status and detail lines, then "stop to end: <ms>" after a stop. Exit code: 0 after a
// completed job, 1 otherwise, 2 for a bad command line.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/environment.h"
#include "platform/text.h"
#include "profile/fallbacks.h"
#include "repair/job/repair_job.h"
#include "tests/layers.h"

namespace {

bool Reached(const StatusSnapshot& s, const std::wstring& stage) {
  if (stage == L"download") return s.stage == JobStage::Downloading;
  if (stage == L"verify") return s.stage == JobStage::Verifying;
  if (stage == L"extract") return s.stage == JobStage::Extracting;
  if (stage == L"files") return s.stage == JobStage::Installing && s.filesDone > 0;
  if (stage == L"finish") return s.statusLine == L"Finishing...";
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // As the real programs start: DLLs from System32 only.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (argc < 3) {
    std::fprintf(stderr, "usage: headless_job repair|reinstall URL [options]\n");
    return 2;
  }
  PackageProfile profile;
  (void)LoadPackageProfile({}, profile);
  ApplyRepairToolFallbacks(profile);
  std::wstring stopAt;
  int stopAfterMs = 0;
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::wstring option = argv[i];
    if (option == L"--sha256") {
      profile.archiveSha256 = argv[i + 1];
    } else if (option == L"--stop-at") {
      stopAt = argv[i + 1];
    } else if (option == L"--stop-after") {
      stopAfterMs = std::stoi(argv[i + 1]);
    } else {
      std::fprintf(stderr, "unknown option\n");
      return 2;
    }
  }
  JobContext context;
  context.exePath = platform::WideToPath(platform::OwnModulePath());
  context.clientFolder = context.exePath.parent_path();
  context.jobUrl = argv[2];
  RepairStatus status;
  Job job{profile, context, status};
  const JobMode mode = std::wstring(argv[1]) == L"reinstall" ? JobMode::Reinstall : JobMode::Repair;
  status.BeginJobStatus(mode);

  using Clock = std::chrono::steady_clock;
  std::atomic<bool> done = false;
  std::atomic<Clock::rep> stoppedAt = 0;
  std::thread stopper([&] {
    if (stopAt.empty()) return;
    while (!done && !Reached(status.SnapshotStatus(), stopAt)) Sleep(1);
    if (done) return;
    Sleep(stopAfterMs);
    stoppedAt = Clock::now().time_since_epoch().count();
    status.RequestStop();
    status.TerminateToolProcess(1);
  });
  bool announced = false;
  RunRepairJob(job, mode, [&] { announced = true; });
  const Clock::time_point ended = Clock::now();
  done = true;
  stopper.join();

  const StatusSnapshot snapshot = status.SnapshotStatus();
  std::printf("%s\n%s\n", platform::WideToUtf8(snapshot.statusLine).c_str(),
              platform::WideToUtf8(snapshot.detailLine).c_str());
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      ended - Clock::time_point(Clock::duration(stoppedAt.load())));
  // A stop that came only as the job was ending stopped nothing.
  if (stoppedAt != 0 && ms.count() >= 0) {
    std::printf("stop to end: %lld\n", static_cast<long long>(ms.count()));
  }
  return announced && snapshot.stage == JobStage::Complete ? 0 : 1;
}
