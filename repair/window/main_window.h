#pragma once

#include "repair/window/gdiplus_include.h"

#include <array>
#include <cstdint>
#include <memory>
#include <thread>

#include "profile/package_profile.h"
#include "repair/core/job.h"
#include "repair/core/job_context.h"
#include "repair/core/repair_status.h"

// The process-wide state of the repair tool; it outlives the window.
struct RepairApp {
  PackageProfile profile;
  RepairStatus status;
  JobContext context;
  std::thread worker;
  std::uint32_t accentColor = 0xFFFFA640;
  bool patcherLaunched = false;
  bool shortcutOffered = false;
  bool primaryServerSelected = true;
};

// The borderless main window: creation, painting, layout and the messages that are not
// commands. One instance per process.
class MainWindow {
 public:
  explicit MainWindow(RepairApp& app) : app_(app) {}
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Registers the class and creates the centred, rounded window; null when that failed.
  HWND Create(HINSTANCE instance);

  void LayoutButtons();
  void UpdateButtons();
  // Released before GDI+ shuts down: logo, then background.
  void ReleaseImages();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void OnCreate();
  void OnDestroy();
  void OnPaint();
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnClose();
  LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
  void OnCommand(int id);
  void OnTimer();
  HWND Button(int id) const;

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
  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  std::array<HWND, 12> buttons_ = {};
  HFONT font_ = nullptr;
  std::unique_ptr<Gdiplus::Bitmap> logo_;
  std::unique_ptr<Gdiplus::Bitmap> background_;
};
