#pragma once

#include <windows.h>

#include "ui/gdi_handles.h"

namespace ui {

// What tells one borderless window from another.
struct WindowShape {
  const wchar_t* className;
  const wchar_t* initialTitle;
  int width;
  int height;
  int corner;  // width and height of the ellipse that rounds the corners
  // The caption: a press at x < dragWidth and y < dragHeight drags the window.
  int dragWidth;
  int dragHeight;
  bool fallbackIcon;  // the system's application icon when icon 101 cannot be loaded
};

// A popup window with a rounded region, centred on the primary screen, whose procedure hands
// every message to `Handle`. A C++ exception never unwinds through the system's code: the
// message it broke off is answered with its default result (a paint is validated and skipped).
class BorderlessWindow {
 public:
  explicit BorderlessWindow(const WindowShape& shape) : shape_(shape) {}
  virtual ~BorderlessWindow() = default;
  BorderlessWindow(const BorderlessWindow&) = delete;
  BorderlessWindow& operator=(const BorderlessWindow&) = delete;

  // Registers the class and creates the window; null when that failed.
  HWND Create(HINSTANCE instance);

 protected:
  // One line per message; what it does not answer goes to DefaultHandling.
  virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
  // HTCAPTION inside the shape's drag zone, the default answer elsewhere.
  LRESULT HitTestCaption(WPARAM wParam, LPARAM lParam);
  // An owner-drawn push button with id `id`, made 10 x 10 at the origin.
  HWND CreateOwnerButton(int id, const wchar_t* text);
  // The one button font (15 px Segoe UI), made on first use and kept for the window's life.
  HFONT ButtonFont();

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  WindowShape shape_;
  UniqueFont font_;
};

// Shows `window` and runs messages until it is destroyed; the exit code of the quit message, or
// 0 when there is no window.
int RunMessageLoop(HWND window, int show);

}  // namespace ui
