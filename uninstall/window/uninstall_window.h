#pragma once

#include "ui/gdiplus_include.h"

#include <array>
#include <cstdint>
#include <memory>

#include "profile/fallbacks.h"
#include "ui/borderless_window.h"
#include "uninstall/flow/uninstaller.h"
#include "uninstall/window/uninstall_controls.h"

namespace uninstall {

// The uninstaller's only window: it explains, asks, hands the work to the cleanup helper and
// closes itself shortly after the helper has started. One instance per process.
class UninstallWindow : public ui::BorderlessWindow {
 public:
  explicit UninstallWindow(Uninstaller& uninstaller);

 private:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

  void OnCreate();
  void OnPaint();
  void OnCommand(UninstallButtonId id);
  void OnClose();
  void OnTimer();
  void OnDestroy();
  void OnUninstallClicked();
  void ShowChoice(const wchar_t* uninstallCaption, const wchar_t* cancelCaption);
  HWND Button(UninstallButtonId id) const;

  Uninstaller& uninstaller_;
  std::array<HWND, 4> buttons_ = {};
  std::unique_ptr<Gdiplus::Bitmap> background_;
  std::uint32_t accent_ = profile::kDefaultAccentColor;
  bool uninstalling_ = false;
  bool failed_ = false;
};

}  // namespace uninstall
