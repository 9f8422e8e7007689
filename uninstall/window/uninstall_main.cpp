#include <windows.h>

#include <commctrl.h>

#include "repair/window/com_apartment.h"
#include "repair/window/gdiplus_session.h"
#include "uninstall/window/uninstall_window.h"

namespace {

// Process-wide state, in place before the first window message.
Uninstaller g_uninstaller;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  ComApartment com;
  GdiplusSession gdiplus;
  MSG message = {};
  {
    UninstallWindow window(g_uninstaller);
    if (HWND handle = window.Create(instance)) {
      ShowWindow(handle, show);
      UpdateWindow(handle);
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    window.ReleaseImages();
  }
  return static_cast<int>(message.wParam);
}
