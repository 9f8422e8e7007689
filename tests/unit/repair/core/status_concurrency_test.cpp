#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "repair/core/repair_status.h"
#include "tests/layers.h"

namespace {

// A painter's snapshots must never pair a new byte count with an old speed, nor a new detail
// line with an old stage: each pair is published in one locked step. Run under TSan as well.
TEST(StatusConcurrency, SnapshotsNeverMixTwoUpdates) {
  RepairStatus status;
  status.BeginJobStatus(JobMode::Repair);
  constexpr int kUpdates = 20000;
  std::atomic<bool> done{false};
  status.BeginDownloadProgress(kUpdates);
  status.SetStage(JobStage::Extracting, L"even", L"even detail");  // as if update 0 were done
  std::thread worker([&] {
    for (int i = 1; i <= kUpdates; ++i) {
      status.SetDownloadProgress(i, i * 2.0);
      status.SetStage(i % 2 ? JobStage::Downloading : JobStage::Extracting,
                      i % 2 ? L"odd" : L"even", i % 2 ? L"odd detail" : L"even detail");
    }
    status.FailJob(L"end");
    done = true;
  });
  int mismatches = 0;
  while (!done) {
    const StatusSnapshot snapshot = status.SnapshotStatus();
    if (snapshot.bytesPerSecond != snapshot.bytesDone * 2.0) ++mismatches;
    if (snapshot.stage == JobStage::Downloading && snapshot.bytesDone > 0 &&
        snapshot.detailLine != L"odd detail") {
      ++mismatches;
    }
    if (snapshot.stage == JobStage::Extracting && snapshot.detailLine != L"even detail") {
      ++mismatches;
    }
  }
  worker.join();
  EXPECT_EQ(mismatches, 0);
  EXPECT_FALSE(status.IsRunning());
}

// Whoever sees `running` turn false also sees the outcome flags set.
TEST(StatusConcurrency, OutcomeIsVisibleOnceRunningClears) {
  for (int round = 0; round < 200; ++round) {
    RepairStatus status;
    status.BeginJobStatus(JobMode::Repair);
    const bool fail = round % 2 == 0;
    std::thread worker([&] {
      if (fail) {
        status.FailJob(L"x");
      } else {
        status.CompleteJob();
      }
    });
    while (status.IsRunning()) {
    }
    EXPECT_TRUE(status.IsFinished());
    EXPECT_EQ(status.IsFailed(), fail);
    worker.join();
  }
}

}  // namespace
