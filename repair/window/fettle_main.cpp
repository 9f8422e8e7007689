#include <windows.h>

#include <commctrl.h>

#include "repair/window/main_window.h"
#include "ui/window_program.h"

namespace {

// Process-wide state, in place before the first window message.
repair::RepairApp g_app;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // Before anything loads a DLL: only from System32, never from the game folder.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  return ui::RunWindowProgram<repair::MainWindow>(instance, show,
                                                  ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS, g_app);
}
