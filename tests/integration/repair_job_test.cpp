#include "repair/job/repair_job.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/environment.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "profile/fallbacks.h"
#include "registry_reader.h"
#include "rules/programs_key.h"
#include "server.h"
#include "standins.h"
#include "test_support.h"
#include "tests/layers.h"
#ifndef _WIN32
#include "platform/host/registry_host.h"
#include "platform/host/resources_host.h"
#endif

namespace fs = std::filesystem;

namespace {

std::vector<std::string> EntriesOf(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

class RepairJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(temp_);
    fs::create_directories(game_);
    test::WriteFile(game_ / "Fettle.exe", "the running tool");
    test::InstallStandins(bin_, {"tar.exe", "powershell.exe"});
    f_.context.exePath = game_ / "Fettle.exe";
    f_.context.clientFolder = game_;
    f_.profile.programsDisplayName =
        L"Velmora Job Test " + std::to_wstring(::testing::UnitTest::GetInstance()->random_seed());
    f_.profile.websiteUrl = L"https://velmora.example/";
    ApplyRepairToolFallbacks(f_.profile);  // as the window does
    key_ = ProgramsKeyName(f_.profile);
#ifndef _WIN32
    platform::SetHostResource(platform::kUninstallerResourceId, "MZ stand-in uninstaller");
#endif
    server_.Publish("job/flat.zip", test::ReadFile(test::FixturePackage("flat.zip")));
  }

  void TearDown() override {
    test::RemoveUninstallEntry(key_);
#ifndef _WIN32
    platform::ClearHostResources();
#endif
  }

  // Runs a job as the window's worker would; returns how often completion was announced.
  int Run(JobMode mode, const std::wstring& url) {
    f_.context.jobUrl = url;
    f_.status.BeginJobStatus(mode);
    int completions = 0;
    RunRepairJob(f_.job, mode, [&] { ++completions; });
    return completions;
  }

  StatusSnapshot Snapshot() const {
    return f_.status.SnapshotStatus();
  }

  test::PackageServer server_;
  test::TempDir dir_;
  fs::path temp_ = dir_ / "temp";
  fs::path game_ = dir_ / "Games" / "Velmora";
  fs::path bin_ = dir_ / "bin";
  test::JobFixture f_;
  std::wstring key_;
  test::ScopedEnv path_{"PATH", test::PathWithFirst(bin_)};
  test::ScopedEnv tmp_{"TMP", temp_.string()};
  test::ScopedEnv temp2_{"TEMP", temp_.string()};
  test::ScopedEnv tmpdir_{"TMPDIR", temp_.string()};
};

TEST_F(RepairJobTest, ARepairBringsTheClientInLineAndRegistersTheGame) {
  test::WriteFile(game_ / "readme.txt", "stale text");
  test::WriteFile(game_ / "settings.ini", "kept by repair");
  ASSERT_EQ(Run(JobMode::Repair, L"  " + server_.Url("/job/flat.zip") + L"  "), 1)
      << platform::WideToUtf8(Snapshot().failureText);
  const StatusSnapshot snapshot = Snapshot();
  EXPECT_EQ(snapshot.stage, JobStage::Complete);
  EXPECT_EQ(snapshot.statusLine, L"Repair complete.");
  EXPECT_EQ(snapshot.detailLine, L"Fixed or updated missing/mismatched files.");
  EXPECT_FALSE(f_.status.IsRunning());
  EXPECT_TRUE(f_.status.IsFinished());
  EXPECT_EQ(test::ReadFile(game_ / "readme.txt"), "fixture file readme.txt\n");
  EXPECT_TRUE(fs::is_regular_file(game_ / "data" / "sub" / "b.pak"));
  EXPECT_EQ(test::ReadFile(game_ / "settings.ini"), "kept by repair");
  EXPECT_EQ(test::ReadFile(game_ / "Fettle.exe"), "the running tool");
  std::string uninstaller;
  ASSERT_TRUE(platform::ReadRcData({}, platform::kUninstallerResourceId, uninstaller));
  EXPECT_TRUE(test::ReadFile(game_ / "Uninstall.exe") == uninstaller);
  EXPECT_EQ(test::UninstallEntryString(key_, L"InstallLocation"), platform::PathToWide(game_));
  EXPECT_EQ(test::UninstallEntryString(key_, L"DisplayIcon"),
            platform::PathToWide(game_ / "patcher.exe") + L",0");
  EXPECT_TRUE(EntriesOf(temp_).empty());  // download and extraction folder both gone

  ASSERT_EQ(Run(JobMode::Repair, server_.Url("/job/flat.zip")), 1);
  EXPECT_EQ(Snapshot().detailLine, L"All files are already clean.");
}

TEST_F(RepairJobTest, AReinstallReplacesEverythingButTheTool) {
  test::WriteFile(game_ / "old" / "leftover.dat", "old client");
  ASSERT_EQ(Run(JobMode::Reinstall, server_.Url("/job/flat.zip")), 1)
      << platform::WideToUtf8(Snapshot().failureText);
  EXPECT_EQ(Snapshot().statusLine, L"Reinstall complete.");
  EXPECT_EQ(Snapshot().detailLine, L"Reinstall complete.");
  EXPECT_FALSE(fs::exists(game_ / "old"));
  EXPECT_EQ(test::ReadFile(game_ / "Fettle.exe"), "the running tool");
  EXPECT_TRUE(fs::is_regular_file(game_ / "Uninstall.exe"));
  EXPECT_TRUE(EntriesOf(temp_).empty());
}

TEST_F(RepairJobTest, NoUsableUrlFailsAtOnceAndLeavesNothing) {
  for (const std::wstring url : {L"", L"   ", L"HTTP://127.0.0.1/job/flat.zip", L"ftp://x/y.zip"}) {
    EXPECT_EQ(Run(JobMode::Repair, url), 0);
    EXPECT_EQ(Snapshot().failureText, L"No valid CDN package URL is configured.");
    EXPECT_EQ(Snapshot().statusLine, L"Repair failed.");
  }
  EXPECT_TRUE(EntriesOf(temp_).empty());
  EXPECT_FALSE(fs::exists(game_ / "Uninstall.exe"));
}

TEST_F(RepairJobTest, FailuresCleanUpTheirTemporaryFiles) {
  EXPECT_EQ(Run(JobMode::Reinstall, server_.Url("/status/404")), 0);
  EXPECT_EQ(Snapshot().failureText, L"The server returned HTTP 404.");
  EXPECT_EQ(Snapshot().statusLine, L"Repair failed.");
  EXPECT_EQ(Run(JobMode::Repair, server_.Url("/html")), 0);
  EXPECT_NE(Snapshot().failureText.find(L"not a valid ZIP or RAR archive"), std::wstring::npos);
  f_.profile.archiveSha256 = L"00";
  EXPECT_EQ(Run(JobMode::Repair, server_.Url("/job/flat.zip")), 0);
  EXPECT_EQ(Snapshot().failureText,
            L"The downloaded package hash does not match the configured SHA-256.");
  EXPECT_TRUE(EntriesOf(temp_).empty());
  // The client was not touched by any of them.
  EXPECT_EQ(EntriesOf(game_), std::vector<std::string>{"Fettle.exe"});
}

// With the temporary folder inside the client folder a reinstall would wipe its own download
// and extraction folder along with the player's files; the job fails before it downloads.
TEST_F(RepairJobTest, ATemporaryFolderInsideTheGameFolderFailsBeforeTheDownload) {
  const fs::path inside = game_ / "temp";
  fs::create_directories(inside);
  test::WriteFile(game_ / "save.dat", "the player's save");
  const test::ScopedEnv tmp{"TMP", inside.string()};
  const test::ScopedEnv temp{"TEMP", inside.string()};
  const test::ScopedEnv tmpdir{"TMPDIR", inside.string()};
  // Folders at the extraction names of the next moments, planted until they run 300 ms ahead of
  // the clock: a job that made nothing removes none of them.
  const std::string stem = "VlmQuorvinRepair_" + std::to_string(platform::ProcessId()) + "_";
  std::uint64_t next = platform::TickCount();
  std::size_t planted = 0;
  for (; next < platform::TickCount() + 300 && planted < 20000; ++next, ++planted) {
    fs::create_directory(inside / (stem + std::to_string(next)));
  }
  server_.Publish("job/never-fetched.zip", test::ReadFile(test::FixturePackage("flat.zip")));
  EXPECT_EQ(Run(JobMode::Reinstall, server_.Url("/job/never-fetched.zip")), 0);
  EXPECT_EQ(Snapshot().failureText,
            L"The temporary folder is missing or inside the game folder. Set TEMP to another "
            L"folder and try again.");
  EXPECT_EQ(test::ReadFile(game_ / "save.dat"), "the player's save");
  EXPECT_EQ(EntriesOf(inside).size(), planted);
  EXPECT_EQ(server_.RequestLog().find("/job/never-fetched.zip"), std::string::npos);
}

// An extractor that reports success having extracted nothing: no wipe, no "complete".
TEST_F(RepairJobTest, AnEmptyExtractionFailsAndWipesNothing) {
  const test::ScopedEnv tarDoesNothing{"PARCELWRIGHT_STANDIN_EXIT_TAR", "0"};
  test::WriteFile(game_ / "save.dat", "the player's save");
  for (const JobMode mode : {JobMode::Reinstall, JobMode::Repair}) {
    EXPECT_EQ(Run(mode, server_.Url("/job/flat.zip")), 0);
    EXPECT_EQ(Snapshot().failureText, L"The package holds no client files.");
    EXPECT_EQ(test::ReadFile(game_ / "save.dat"), "the player's save");
    EXPECT_FALSE(fs::exists(game_ / "Uninstall.exe"));
  }
  EXPECT_TRUE(EntriesOf(temp_).empty());
}

// No thread for the job: the job the window announced fails with a message instead of the
// program ending on an exception.
TEST_F(RepairJobTest, AWorkerThatCannotBeMadeFailsTheJob) {
  f_.status.BeginJobStatus(JobMode::Repair);
  std::thread worker;
  EXPECT_FALSE(StartWorkerThread(f_.status, worker, []() -> std::thread {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  }));
  EXPECT_FALSE(worker.joinable());
  EXPECT_TRUE(f_.status.IsFailed());
  EXPECT_TRUE(f_.status.IsFinished());
  EXPECT_FALSE(f_.status.IsRunning());
  EXPECT_EQ(Snapshot().detailLine, L"Could not start the repair job.");
}

TEST_F(RepairJobTest, WithoutCleanupArchiveTheDownloadStays) {
  f_.profile.cleanupArchive = false;
  f_.profile.repairToolName = L"Velmora:Repair.exe";
  ASSERT_EQ(Run(JobMode::Repair, server_.Url("/job/flat.zip")), 1);
  const std::vector<std::string> left = EntriesOf(temp_);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].rfind("Velmora_Repair.exe_", 0), 0u) << left[0];
  EXPECT_EQ(test::ReadFile(temp_ / left[0]), test::ReadFile(test::FixturePackage("flat.zip")));
}

TEST_F(RepairJobTest, AStopDuringTheDownloadEndsWithoutAMessage) {
  server_.Publish("job/big.zip", std::string(4 << 20, 'x'));
  std::thread closer([&] {
    while (Snapshot().bytesDone == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    f_.status.RequestStop();
  });
  EXPECT_EQ(Run(JobMode::Repair, server_.Url("/slow/job/big.zip?chunk=65536&delay_ms=50")), 0);
  closer.join();
  EXPECT_TRUE(f_.status.IsRunning());  // the close path clears it after the join
  EXPECT_EQ(Snapshot().failureText, L"");
  EXPECT_TRUE(EntriesOf(temp_).empty());
}

// The same job against nginx: HTTPS with the run's test CA, and the certificates a client must
// refuse. Under Wine the test prefix trusts the test CA; on the host libcurl is handed it.
class HttpsRepairTest : public RepairJobTest {
 protected:
  void SetUp() override {
    RepairJobTest::SetUp();
    test::WriteFile(game_ / "readme.txt", "stale text");
    test::WriteFile(game_ / "settings.ini", "the user's");
  }

  void ExpectRepaired() {
    EXPECT_EQ(Snapshot().statusLine, L"Repair complete.");
    EXPECT_EQ(test::ReadFile(game_ / "readme.txt"), "fixture file readme.txt\n");
    EXPECT_TRUE(fs::is_regular_file(game_ / "data" / "sub" / "b.pak"));
    EXPECT_EQ(test::ReadFile(game_ / "settings.ini"), "the user's");
  }

  test::WebServer web_;
};

TEST_F(HttpsRepairTest, ARepairOverHttpsCompletes) {
  ASSERT_EQ(Run(JobMode::Repair, web_.Url("https", "/job/flat.zip")), 1)
      << platform::WideToUtf8(Snapshot().failureText);
  ExpectRepaired();
}

TEST_F(HttpsRepairTest, AnHttpUrlRedirectedToHttpsCompletes) {
  ASSERT_EQ(Run(JobMode::Repair, web_.Url("http", "/to-https/job/flat.zip")), 1)
      << platform::WideToUtf8(Snapshot().failureText);
  ExpectRepaired();
}

TEST_F(HttpsRepairTest, ACertificateItCannotTrustFailsTheJobAndChangesNothing) {
  for (const char* port : {"untrusted", "wronghost", "expired"}) {
    SCOPED_TRACE(port);
    EXPECT_EQ(Run(JobMode::Repair, web_.Url(port, "/job/flat.zip")), 0);
    EXPECT_EQ(Snapshot().statusLine, L"Repair failed.");
    EXPECT_EQ(Snapshot().failureText, L"The server did not respond to the download request.");
    EXPECT_EQ(test::ReadFile(game_ / "readme.txt"), "stale text");
    EXPECT_EQ(test::ReadFile(game_ / "settings.ini"), "the user's");
    EXPECT_EQ(EntriesOf(game_).size(), 3u);  // no package file, no Uninstall.exe
    EXPECT_TRUE(EntriesOf(temp_).empty());
  }
}

#ifndef _WIN32
TEST_F(RepairJobTest, ARegistryFailureFailsTheJobAfterTheFilesAreInPlace) {
  platform::FailHostRegistry(true);
  EXPECT_EQ(Run(JobMode::Repair, server_.Url("/job/flat.zip")), 0);
  EXPECT_EQ(Snapshot().failureText, L"Could not register the game in Programs and Features.");
  EXPECT_TRUE(fs::is_regular_file(game_ / "game.exe"));
  EXPECT_TRUE(EntriesOf(temp_).empty());
}
#endif

#ifndef _WIN32
// A small tmpfs mounted for the test; mounting needs the right to, so the test is skipped
// without it.
class SmallDisk {
 public:
  SmallDisk(const fs::path& folder, const char* size) : folder_(folder) {
    fs::create_directories(folder);
    const std::string command = "mount -t tmpfs -o size=" + std::string(size) + " tmpfs '" +
                                folder.string() + "' 2>/dev/null";
    mounted_ = std::system(command.c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) (void)std::system(("umount '" + folder_.string() + "'").c_str());
  }
  bool mounted() const { return mounted_; }

 private:
  fs::path folder_;
  bool mounted_ = false;
};

// A full disk under the client folder, then under the temporary folder: each ends in a named
// failure, never in a job reported complete.
TEST_F(RepairJobTest, AFullDiskFailsTheJobWithAMessage) {
  {
    SmallDisk disk(game_, "160k");
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
    test::WriteFile(game_ / "Fettle.exe", "the running tool");
    EXPECT_EQ(Run(JobMode::Repair, server_.Url("/job/flat.zip")), 0);
    EXPECT_EQ(Snapshot().stage, JobStage::Failed);
    EXPECT_EQ(Snapshot().detailLine.rfind(L"Could not repair this file: ", 0), 0u)
        << platform::WideToUtf8(Snapshot().detailLine);
    EXPECT_TRUE(fs::is_empty(temp_));
  }
  {
    SmallDisk disk(temp_, "64k");
    ASSERT_TRUE(disk.mounted());
    EXPECT_EQ(Run(JobMode::Repair, server_.Url("/job/flat.zip")), 0);
    EXPECT_EQ(Snapshot().stage, JobStage::Failed);
    EXPECT_EQ(Snapshot().detailLine, L"Could not write the downloaded data to disk.");
    EXPECT_TRUE(fs::is_empty(temp_));
  }
}
#endif

}  // namespace
