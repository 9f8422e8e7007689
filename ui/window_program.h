#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/borderless_window.h"
#include "ui/com_apartment.h"
#include "ui/gdiplus_session.h"

namespace ui {

// The start of both programs: DPI awareness, the common controls in `commonControls`, COM and
// GDI+; then a `Window` made from `state` is created and runs until it is destroyed. The window
// and its images are gone before GDI+ and COM shut down. Returns the exit code.
template <typename Window, typename State>
int RunWindowProgram(HINSTANCE instance, int show, DWORD commonControls, State& state) {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), commonControls};
  InitCommonControlsEx(&controls);
  ComApartment com;
  GdiplusSession gdiplus;
  Window window(state);
  return RunMessageLoop(window.Create(instance), show);
}

}  // namespace ui
