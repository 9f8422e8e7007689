#include <windows.h>

#include <commctrl.h>

#include "repair/window/com_apartment.h"
#include "repair/window/gdiplus_session.h"
#include "repair/window/main_window.h"

namespace {

// Process-wide state, in place before the first window message.
RepairApp g_app;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  ComApartment com;
  GdiplusSession gdiplus;
  MSG message = {};
  {
    MainWindow mainWindow(g_app);
    if (HWND window = mainWindow.Create(instance)) {
      ShowWindow(window, show);
      UpdateWindow(window);
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    mainWindow.ReleaseImages();
  }
  return static_cast<int>(message.wParam);
}
