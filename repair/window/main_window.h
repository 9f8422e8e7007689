#pragma once

#include "ui/gdiplus_include.h"

#include <array>
#include <cstdint>
#include <memory>
#include <thread>

#include "profile/fallbacks.h"
#include "profile/package_profile.h"
#include "repair/core/job.h"
#include "repair/core/job_context.h"
#include "repair/core/repair_status.h"
#include "repair/view/button_rules.h"
#include "ui/borderless_window.h"

namespace repair {

// The process-wide state of the repair tool; it outlives the window.
struct RepairApp {
  profile::PackageProfile profile;
  RepairStatus status;
  JobContext context;
  std::thread worker;
  std::uint32_t accentColor = profile::kDefaultAccentColor;
  bool patcherLaunched = false;
  bool shortcutOffered = false;
  bool primaryServerSelected = true;
};

// The borderless main window: painting, layout, commands and the worker's lifecycle. One
// instance per process.
class MainWindow : public ui::BorderlessWindow {
 public:
  explicit MainWindow(RepairApp& app);

 private:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

  void OnCreate();
  void OnDestroy();
  void OnPaint();
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnClose();
  void OnCommand(ButtonId id);
  void OnTimer();
  HWND Button(ButtonId id) const;

  void LayoutButtons();
  void UpdateButtons();

  // Commands and the worker's lifecycle.
  void StartRepairJob(JobMode mode, const std::wstring& url);
  void FinishJobIfDone();
  void RetryJob();
  void EnableJobButtons(bool enabled);
  void OfferShortcutAfterReinstall();
  void CreateShortcutNow();
  void Invalidate();

  RepairApp& app_;
  Job job_{app_.profile, app_.context, app_.status};
  std::array<HWND, 12> buttons_ = {};
  // While the close question is open the timer only repaints.
  bool closeQuestionOpen_ = false;
  // Released in reverse order when the window object goes, before GDI+ shuts down: logo, then
  // background.
  std::unique_ptr<Gdiplus::Bitmap> background_;
  std::unique_ptr<Gdiplus::Bitmap> logo_;
};

}  // namespace repair
