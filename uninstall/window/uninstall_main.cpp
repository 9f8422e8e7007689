#include <windows.h>

#include <commctrl.h>

#include "ui/window_program.h"
#include "uninstall/window/uninstall_window.h"

namespace {

// Process-wide state, in place before the first window message.
uninstall::Uninstaller g_uninstaller;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // Before anything loads a DLL: only from System32, never from the game folder.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  return ui::RunWindowProgram<uninstall::UninstallWindow>(instance, show, ICC_STANDARD_CLASSES,
                                                          g_uninstaller);
}
