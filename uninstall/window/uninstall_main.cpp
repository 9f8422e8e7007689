#include <windows.h>

#include <commctrl.h>

#include "ui/window_program.h"
#include "uninstall/window/uninstall_window.h"

namespace {

// Process-wide state, in place before the first window message.
Uninstaller g_uninstaller;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  return ui::RunWindowProgram<UninstallWindow>(instance, show, ICC_STANDARD_CLASSES, g_uninstaller);
}
