#pragma once

#include "repair/window/gdiplus_include.h"

#include <array>
#include <cstdint>
#include <memory>

#include "uninstall/flow/uninstaller.h"

// The uninstaller's only window: it explains, asks, hands the work to the cleanup helper and
// closes itself shortly after the helper has started. One instance per process.
class UninstallWindow {
 public:
  explicit UninstallWindow(Uninstaller& uninstaller) : uninstaller_(uninstaller) {}
  ~UninstallWindow();
  UninstallWindow(const UninstallWindow&) = delete;
  UninstallWindow& operator=(const UninstallWindow&) = delete;

  // Registers the class and creates the centred, rounded window; null when that failed.
  HWND Create(HINSTANCE instance);
  // Released before GDI+ shuts down.
  void ReleaseImages();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void OnCreate();
  void OnPaint();
  void OnClose();
  void OnTimer();
  void OnDestroy();
  LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
  void OnUninstallClicked();
  void ShowChoice(const wchar_t* uninstallCaption, const wchar_t* cancelCaption);
  HWND Button(int id) const;

  Uninstaller& uninstaller_;
  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  std::array<HWND, 4> buttons_ = {};
  HFONT font_ = nullptr;
  std::unique_ptr<Gdiplus::Bitmap> background_;
  std::uint32_t accent_ = 0xFFFFA640;
  bool uninstalling_ = false;
  bool failed_ = false;
};
