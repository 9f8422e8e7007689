#include "repair/core/repair_status.h"

#include <gtest/gtest.h>
#include "tests/layers.h"

namespace {

void ExpectFlags(const RepairStatus& status, bool running, bool finished, bool failed) {
  EXPECT_EQ(status.IsRunning(), running);
  EXPECT_EQ(status.IsFinished(), finished);
  EXPECT_EQ(status.IsFailed(), failed);
}

TEST(RepairStatus, FreshRecordIsAtRest) {
  RepairStatus status;
  const StatusSnapshot snapshot = status.SnapshotStatus();
  EXPECT_EQ(snapshot.stage, JobStage::Idle);
  EXPECT_EQ(snapshot.mode, JobMode::None);
  EXPECT_EQ(snapshot.statusLine, L"Ready.");
  EXPECT_EQ(snapshot.detailLine, L"");
  ExpectFlags(status, false, false, false);
  EXPECT_FALSE(status.IsStopRequested());
  EXPECT_FALSE(status.ToolProcess());
}

TEST(RepairStatus, BeginJobStatusClearsEverythingAndMarksRunning) {
  RepairStatus status;
  status.FailJob(L"Earlier failure.");
  status.RequestStop();
  status.SetToolProcess(platform::ProcessRef{42});
  status.BeginDownloadProgress(1000);
  status.SetDownloadProgress(500, 25.0);
  status.SetFileProgress(10, 4, 2, L"x");

  status.BeginJobStatus(JobMode::Reinstall);
  ExpectFlags(status, true, false, false);
  EXPECT_FALSE(status.IsStopRequested());
  EXPECT_FALSE(status.ToolProcess());
  const StatusSnapshot snapshot = status.SnapshotStatus();
  EXPECT_EQ(snapshot.stage, JobStage::Idle);
  EXPECT_EQ(snapshot.mode, JobMode::Reinstall);
  EXPECT_EQ(snapshot.bytesTotal, 0);
  EXPECT_EQ(snapshot.bytesDone, 0);
  EXPECT_EQ(snapshot.bytesPerSecond, 0.0);
  EXPECT_EQ(snapshot.filesTotal, 0u);
  EXPECT_EQ(snapshot.filesDone, 0u);
  EXPECT_EQ(snapshot.filesChanged, 0u);
  EXPECT_EQ(snapshot.statusLine, L"");
  EXPECT_EQ(snapshot.detailLine, L"");
  EXPECT_EQ(snapshot.failureText, L"");
}

TEST(RepairStatus, StartJobShowsTheModesFirstLine) {
  RepairStatus status;
  status.BeginJobStatus(JobMode::Repair);
  status.StartJob(JobMode::Repair);
  StatusSnapshot snapshot = status.SnapshotStatus();
  EXPECT_EQ(snapshot.stage, JobStage::Downloading);
  EXPECT_EQ(snapshot.statusLine, L"Starting repair...");
  EXPECT_EQ(snapshot.detailLine, L"Preparing CDN package...");
  status.StartJob(JobMode::Reinstall);
  snapshot = status.SnapshotStatus();
  EXPECT_EQ(snapshot.mode, JobMode::Reinstall);
  EXPECT_EQ(snapshot.statusLine, L"Starting reinstall...");
}

TEST(RepairStatus, FailJobShowsRepairFailedEvenForAReinstall) {
  RepairStatus status;
  status.BeginJobStatus(JobMode::Reinstall);
  status.StartJob(JobMode::Reinstall);
  status.FailJob(L"First.");
  status.FailJob(L"The download stopped unexpectedly.");
  ExpectFlags(status, false, true, true);
  const StatusSnapshot snapshot = status.SnapshotStatus();
  EXPECT_EQ(snapshot.stage, JobStage::Failed);
  EXPECT_EQ(snapshot.statusLine, L"Repair failed.");
  EXPECT_EQ(snapshot.detailLine, L"The download stopped unexpectedly.");
  EXPECT_EQ(snapshot.failureText, L"The download stopped unexpectedly.");
}

TEST(RepairStatus, CompleteJobKeepsADetailLineOrSaysClientIsReady) {
  RepairStatus status;
  status.BeginJobStatus(JobMode::Repair);
  status.StartJob(JobMode::Repair);
  status.SetStage(JobStage::Installing, L"Finishing...", L"");
  status.CompleteJob();
  ExpectFlags(status, false, true, false);
  StatusSnapshot snapshot = status.SnapshotStatus();
  EXPECT_EQ(snapshot.stage, JobStage::Complete);
  EXPECT_EQ(snapshot.statusLine, L"Repair complete.");
  EXPECT_EQ(snapshot.detailLine, L"Client is ready.");

  status.BeginJobStatus(JobMode::Reinstall);
  status.StartJob(JobMode::Reinstall);
  status.SetDetail(L"Reinstall complete.");
  status.CompleteJob();
  snapshot = status.SnapshotStatus();
  EXPECT_EQ(snapshot.statusLine, L"Reinstall complete.");
  EXPECT_EQ(snapshot.detailLine, L"Reinstall complete.");
}

TEST(RepairStatus, ResetStatusReturnsToRest) {
  RepairStatus status;
  status.BeginJobStatus(JobMode::Repair);
  status.StartJob(JobMode::Repair);
  status.BeginDownloadProgress(4096);
  status.SetDownloadProgress(2048, 100.0);
  status.SetFileProgress(3, 2, 1, L"a.dat");
  status.RequestStop();
  status.FailJob(L"Broken.");
  status.ResetStatus();
  ExpectFlags(status, false, false, false);
  EXPECT_FALSE(status.IsStopRequested());
  const StatusSnapshot snapshot = status.SnapshotStatus();
  const StatusSnapshot rest;
  EXPECT_EQ(snapshot.stage, rest.stage);
  EXPECT_EQ(snapshot.mode, rest.mode);
  EXPECT_EQ(snapshot.bytesTotal, 0);
  EXPECT_EQ(snapshot.bytesDone, 0);
  EXPECT_EQ(snapshot.bytesPerSecond, 0.0);
  EXPECT_EQ(snapshot.filesTotal + snapshot.filesDone + snapshot.filesChanged, 0u);
  EXPECT_EQ(snapshot.statusLine, L"Ready.");
  EXPECT_EQ(snapshot.detailLine, L"");
  EXPECT_EQ(snapshot.failureText, L"");
}

TEST(RepairStatus, TerminateToolProcessNeedsAPublishedProcess) {
  RepairStatus status;
  EXPECT_FALSE(status.TerminateToolProcess(1));
  status.SetToolProcess(platform::ProcessRef{1234});
  status.SetToolProcess({});
  EXPECT_FALSE(status.TerminateToolProcess(1));
}

TEST(FormatByteSize, PicksTheLargestUnitBelow1024) {
  EXPECT_EQ(FormatByteSize(0), L"0 B");
  EXPECT_EQ(FormatByteSize(1023), L"1023 B");
  EXPECT_EQ(FormatByteSize(1024), L"1.0 KB");
  EXPECT_EQ(FormatByteSize(1536), L"1.5 KB");
  EXPECT_EQ(FormatByteSize(1048576), L"1.0 MB");
  EXPECT_EQ(FormatByteSize(5ull * 1024 * 1024 * 1024 + 512ull * 1024 * 1024), L"5.5 GB");
  EXPECT_EQ(FormatByteSize(1ull << 50), L"1024.0 TB");
  EXPECT_EQ(FormatByteSize(1ull << 60), L"1048576.0 TB");
}

}  // namespace
