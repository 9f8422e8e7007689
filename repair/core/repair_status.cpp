#include "repair/core/repair_status.h"

#include <array>
#include <cstdio>

namespace repair {

void RepairStatus::SetStage(JobStage stage, std::wstring statusLine, std::wstring detailLine) {
  std::lock_guard guard(lock_);
  fields_.stage = stage;
  fields_.statusLine = std::move(statusLine);
  fields_.detailLine = std::move(detailLine);
}

void RepairStatus::SetDetail(std::wstring detailLine) {
  std::lock_guard guard(lock_);
  fields_.detailLine = std::move(detailLine);
}

void RepairStatus::FailJob(std::wstring message) {
  std::lock_guard guard(lock_);
  fields_.stage = JobStage::Failed;
  // In this order: whoever sees `running` false after a start also sees the outcome.
  failed_.store(true);
  finished_.store(true);
  running_.store(false);
  fields_.failureText = message;
  fields_.statusLine = L"Repair failed.";
  fields_.detailLine = std::move(message);
}

void RepairStatus::StartJob(JobMode mode) {
  std::lock_guard guard(lock_);
  fields_.mode = mode;
  fields_.stage = JobStage::Downloading;
  fields_.statusLine =
      mode == JobMode::Reinstall ? L"Starting reinstall..." : L"Starting repair...";
  fields_.detailLine = L"Preparing CDN package...";
}

void RepairStatus::CompleteJob() {
  std::lock_guard guard(lock_);
  fields_.stage = JobStage::Complete;
  // Outcome first, as in FailJob: a reader that sees `running` drop must see a finished job.
  failed_.store(false);
  finished_.store(true);
  running_.store(false);
  fields_.statusLine =
      fields_.mode == JobMode::Reinstall ? L"Reinstall complete." : L"Repair complete.";
  if (fields_.detailLine.empty()) fields_.detailLine = L"Client is ready.";
}

void RepairStatus::SetToolProcess(platform::ProcessRef process) {
  std::lock_guard guard(lock_);
  toolProcess_ = process;
}

void RepairStatus::PublishExtractor(platform::ProcessRef process) {
  std::lock_guard guard(lock_);
  toolProcess_ = process;
  fields_.stage = JobStage::Extracting;
  fields_.statusLine = L"Extracting package...";
  fields_.detailLine = L"Preparing client files for repair...";
}

bool RepairStatus::TerminateToolProcess(unsigned exitCode) {
  std::lock_guard guard(lock_);
  if (!toolProcess_) return false;
  return platform::TerminateProcessRef(toolProcess_, exitCode);
}

platform::ProcessRef RepairStatus::ToolProcess() const {
  std::lock_guard guard(lock_);
  return toolProcess_;
}

void RepairStatus::ClearGuardedFields(JobMode mode, std::wstring statusLine) {
  std::lock_guard guard(lock_);
  fields_ = StatusSnapshot{};
  fields_.mode = mode;
  fields_.statusLine = std::move(statusLine);
  toolProcess_ = {};
}

void RepairStatus::BeginJobStatus(JobMode mode) {
  stopRequested_.store(false);
  running_.store(true);
  finished_.store(false);
  failed_.store(false);
  ClearGuardedFields(mode, L"");
}

void RepairStatus::ResetStatus() {
  stopRequested_.store(false);
  running_.store(false);
  finished_.store(false);
  failed_.store(false);
  ClearGuardedFields(JobMode::None, L"Ready.");
}

StatusSnapshot RepairStatus::SnapshotStatus() const {
  std::lock_guard guard(lock_);
  return fields_;
}

void RepairStatus::BeginDownloadProgress(std::int64_t bytesTotal) {
  std::lock_guard guard(lock_);
  fields_.stage = JobStage::Downloading;
  fields_.statusLine = L"Downloading client package...";
  fields_.detailLine.clear();
  fields_.bytesTotal = bytesTotal;
  fields_.bytesDone = 0;
  fields_.bytesPerSecond = 0.0;
}

void RepairStatus::SetDownloadProgress(std::int64_t bytesDone, double bytesPerSecond) {
  std::lock_guard guard(lock_);
  fields_.bytesDone = bytesDone;
  fields_.bytesPerSecond = bytesPerSecond;
}

void RepairStatus::BeginFileProgress(std::uint64_t filesTotal, std::wstring statusLine) {
  std::lock_guard guard(lock_);
  fields_.stage = JobStage::Installing;
  fields_.filesTotal = filesTotal;
  fields_.filesDone = 0;
  fields_.filesChanged = 0;
  fields_.statusLine = std::move(statusLine);
  fields_.detailLine.clear();
}

void RepairStatus::SetFileProgress(std::uint64_t filesTotal, std::uint64_t filesDone,
                                   std::uint64_t filesChanged, std::wstring detailLine) {
  std::lock_guard guard(lock_);
  fields_.filesTotal = filesTotal;
  fields_.filesDone = filesDone;
  fields_.filesChanged = filesChanged;
  fields_.detailLine = std::move(detailLine);
}

std::wstring FormatByteSize(std::uint64_t bytes) {
  static constexpr std::array<const wchar_t*, 5> kUnits = {L"B", L"KB", L"MB", L"GB", L"TB"};
  double value = static_cast<double>(bytes);
  std::size_t unit = 0;
  while (value >= 1024.0 && unit < kUnits.size() - 1) {
    value *= 1.0 / 1024.0;
    ++unit;
  }
  wchar_t text[64];
  std::swprintf(text, std::size(text), unit == 0 ? L"%.0f %ls" : L"%.1f %ls", value, kUnits[unit]);
  return text;
}

}  // namespace repair
