#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "platform/process.h"

namespace repair {

enum class JobStage : std::int32_t {
  Idle = 0,
  Downloading = 1,
  Verifying = 2,
  Extracting = 3,
  Installing = 4,
  Complete = 5,
  Failed = 6,
};

enum class JobMode : std::int32_t {
  None = 0,
  Repair = 1,
  Reinstall = 2,
};

// A consistent copy of the record's guarded fields, taken in one locked step.
struct StatusSnapshot {
  JobStage stage = JobStage::Idle;
  JobMode mode = JobMode::None;
  std::int64_t bytesTotal = 0;
  std::int64_t bytesDone = 0;
  double bytesPerSecond = 0.0;
  std::uint64_t filesTotal = 0;
  std::uint64_t filesDone = 0;
  std::uint64_t filesChanged = 0;
  std::wstring statusLine = L"Ready.";
  std::wstring detailLine;
  std::wstring failureText;
};

// What the worker and the window share. The four flags are atomic and read without the lock;
// everything else sits behind one mutex that is held only for assignments and snapshots, never
// across file, network or process work.
class RepairStatus {
 public:
  RepairStatus() = default;
  RepairStatus(const RepairStatus&) = delete;
  RepairStatus& operator=(const RepairStatus&) = delete;

  // Enters `stage` with both texts in one step, so no new status line is shown with a stale
  // detail line.
  void SetStage(JobStage stage, std::wstring statusLine, std::wstring detailLine);
  void SetDetail(std::wstring detailLine);

  // Ends the job as failed with `message` as the detail line; a later call overwrites it.
  void FailJob(std::wstring message);

  // The worker's first step: records the mode and enters Downloading with the start texts.
  void StartJob(JobMode mode);

  // The driver's last step after a successful job. Keeps a non-empty detail line.
  void CompleteJob();

  [[nodiscard]] bool IsStopRequested() const { return stopRequested_.load(); }
  void RequestStop() { stopRequested_.store(true); }
  [[nodiscard]] bool IsRunning() const { return running_.load(); }
  [[nodiscard]] bool IsFinished() const { return finished_.load(); }
  [[nodiscard]] bool IsFailed() const { return failed_.load(); }
  // The close path's last word on a job that was stopped rather than completed or failed.
  void ClearRunning() { running_.store(false); }

  // Publishes the extractor that has just started, or clears it (a null reference).
  void SetToolProcess(platform::ProcessRef process);
  // Publishes a started extractor together with the extraction texts, in one step.
  void PublishExtractor(platform::ProcessRef process);
  // Terminates the published extractor under the lock, so its handle cannot be closed
  // meanwhile. Returns false when none is running.
  bool TerminateToolProcess(unsigned exitCode);

  void BeginJobStatus(JobMode mode);
  void ResetStatus();
  [[nodiscard]] StatusSnapshot SnapshotStatus() const;
  [[nodiscard]] platform::ProcessRef ToolProcess() const;

  // Enters Downloading ("Downloading client package...", empty detail) with the announced size
  // and zeroed figures, in one step; then done bytes and speed are published together.
  void BeginDownloadProgress(std::int64_t bytesTotal);
  void SetDownloadProgress(std::int64_t bytesDone, double bytesPerSecond);

  // Enters Installing for the file pass: the file count, zeroed counters, `statusLine` and an
  // empty detail line, in one step.
  void BeginFileProgress(std::uint64_t filesTotal, std::wstring statusLine);
  // File pass figures, published together with the detail line of the file just handled.
  void SetFileProgress(std::uint64_t filesTotal, std::uint64_t filesDone,
                       std::uint64_t filesChanged, std::wstring detailLine);

 private:
  void ClearGuardedFields(JobMode mode, std::wstring statusLine);

  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> running_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> failed_{false};

  mutable std::mutex lock_;
  StatusSnapshot fields_;
  platform::ProcessRef toolProcess_;
};

// A byte count as a short text with a unit: "1023 B", "1.5 KB", "1024.0 TB".
[[nodiscard]] std::wstring FormatByteSize(std::uint64_t bytes);

}  // namespace repair
