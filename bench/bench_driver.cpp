// Runs one heavy piece of the repair tool on given data and prints how long it took, for the
// side-by-side comparison in bench/run.sh. Usage:
//   pw_bench verify PACKAGE CLIENT     the file pass (repair) of PACKAGE over CLIENT
//   pw_bench match A B                 FilesMatch of two files
//   pw_bench hash FILE                 HashFileSha256
//   pw_bench download URL FILE [CA]    DownloadPackage, trusting the CA file CA for https
//   pw_bench job URL CLIENT            a whole RunRepairJob (download, extract, file pass)
//   pw_bench idle                      the driver's own footprint, with the HTTP client and the
//                                      hash service opened, so that what they load is counted
// Each prints "seconds S" and "peak_rss_kib K", the driver's own peak resident size since it
// started (platform::PeakResidentBytes): /usr/bin/time would add the tools a job starts, and
// under Wine it would measure the loader. The same source builds for the host and for Windows.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/driver_backend.h"
#include "platform/environment.h"
#include "platform/http.h"
#include "platform/sha256.h"
#include "platform/text.h"
#include "repair/acquire/download.h"
#include "repair/acquire/package_hash.h"
#include "repair/client/verify_repair.h"
#include "repair/job/repair_job.h"
#include "tests/layers.h"

namespace fs = std::filesystem;

namespace {

struct Fixture {
  PackageProfile profile;
  JobContext context;
  RepairStatus status;
  Job job{profile, context, status};

  explicit Fixture(const fs::path& client) {
    context.clientFolder = client;
    context.exePath = client / "Fettle.exe";
    profile.startupExe = L"patcher.exe";
  }
};

int Report(bool ok, std::chrono::steady_clock::time_point start, const RepairStatus* status) {
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("seconds %.6f\n", seconds);
  std::printf("peak_rss_kib %llu\n",
              static_cast<unsigned long long>(platform::PeakResidentBytes() / 1024));
  if (status) {
    const StatusSnapshot s = status->SnapshotStatus();
    std::printf("files %llu changed %llu\n", static_cast<unsigned long long>(s.filesTotal),
                static_cast<unsigned long long>(s.filesChanged));
    if (!ok) std::fprintf(stderr, "%s\n", platform::WideToUtf8(s.failureText).c_str());
  }
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  bench::PrepareProcess();
  const std::string command = argc > 1 ? argv[1] : "";
  const auto start = std::chrono::steady_clock::now();
  if (command == "verify" && argc == 4) {
    Fixture f{fs::path(argv[3])};
    const bool ok = VerifyAndRepairClient(f.job, argv[2], false);
    return Report(ok, start, &f.status);
  }
  if (command == "match" && argc == 4) {
    const bool same = FilesMatch(argv[2], argv[3]);
    Report(true, start, nullptr);
    std::printf("match %d\n", same ? 1 : 0);
    return 0;
  }
  if (command == "hash" && argc == 3) {
    std::wstring hex;
    const bool ok = HashFileSha256(argv[2], hex);
    std::printf("sha256 %s\n", platform::WideToUtf8(hex).c_str());
    return Report(ok, start, nullptr);
  }
  if (command == "download" && (argc == 4 || argc == 5)) {
    if (argc == 5) bench::TrustCaFile(argv[4]);
    Fixture f{fs::current_path()};
    fs::path file = argv[3];
    const bool ok = DownloadPackage(f.job, platform::Utf8ToWide(argv[2]), file);
    return Report(ok, start, &f.status);
  }
  if (command == "job" && argc == 4) {
    Fixture f{fs::path(argv[3])};
    f.context.jobUrl = platform::Utf8ToWide(argv[2]);
    bench::ProvideUninstaller();
    f.status.BeginJobStatus(JobMode::Repair);
    RunRepairJob(f.job, JobMode::Repair, nullptr);
    return Report(f.status.IsFinished() && !f.status.IsFailed(), start, &f.status);
  }
  if (command == "idle") {
    platform::HttpGet http;
    platform::Sha256 sha;
    platform::Sha256Digest digest;
    const bool ok = http.OpenSession(L"pw_bench") && sha.Open() && sha.Finish(digest);
    return Report(ok, start, nullptr);
  }
  std::fprintf(stderr, "usage: pw_bench verify|match|hash|download|job|idle ...\n");
  return 2;
}
