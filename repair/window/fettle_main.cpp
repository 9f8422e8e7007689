#include <windows.h>

#include <commctrl.h>

#include "repair/window/main_window.h"
#include "ui/window_program.h"

namespace {

// Process-wide state, in place before the first window message.
RepairApp g_app;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  return ui::RunWindowProgram<MainWindow>(instance, show, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS,
                                          g_app);
}
