#include "repair/view/progress_view.h"

#include <algorithm>

namespace repair {

namespace {

constexpr int kTrackWidth = 630;

}  // namespace

double ProgressPercent(const StatusSnapshot& s) {
  double percent = 0.0;
  switch (s.stage) {
    case JobStage::Downloading:
      if (s.bytesTotal > 0) {
        percent = static_cast<double>(s.bytesDone) / static_cast<double>(s.bytesTotal) * 100.0;
      }
      break;
    case JobStage::Verifying:
    case JobStage::Extracting:
    case JobStage::Complete: percent = 100.0; break;
    case JobStage::Installing:
      if (s.filesTotal > 0) {
        percent = static_cast<double>(s.filesDone) / static_cast<double>(s.filesTotal) * 100.0;
      }
      break;
    case JobStage::Idle:
    case JobStage::Failed: break;
  }
  return std::clamp(percent, 0.0, 100.0);
}

int ProgressFillWidth(double percent) {
  return static_cast<int>(percent / 100.0 * kTrackWidth);
}

std::wstring ProgressLineText(const StatusSnapshot& s) {
  std::wstring text = s.statusLine.empty() ? L"Ready." : s.statusLine;
  if (s.stage == JobStage::Downloading) {
    text += L"  ";
    text += s.bytesPerSecond > 0.0
                ? FormatByteSize(static_cast<std::uint64_t>(s.bytesPerSecond)) + L"/s"
                : L"0 MB/s";
  } else if (s.stage == JobStage::Installing && s.filesTotal > 0) {
    text += L"  " + std::to_wstring(s.filesDone) + L"/" + std::to_wstring(s.filesTotal) + L" files";
  }
  return text;
}

}  // namespace repair
