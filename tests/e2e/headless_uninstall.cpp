// The uninstaller's start without its window, for runs under Wine: placed in a folder as
// Uninstall.exe would be, it asks to uninstall that folder as a confirmed click would.
// Usage: headless_uninstall.exe [--close]. Prints "started" or the status text. With --close the
// helper is then ended as a close confirmed before the window's timer ends it, and its exit
// code printed. Exit code 0 when the helper was started.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/environment.h"
#include "platform/text.h"
#include "tests/layers.h"
#include "uninstall/flow/start_uninstall.h"
#include "uninstall/flow/uninstall_safety.h"

int wmain(int argc, wchar_t** argv) {
  // As the real programs start: DLLs from System32 only.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  Uninstaller uninstaller;
  (void)LoadPackageProfile({}, uninstaller.profile);
  uninstaller.ownFolder = OwnFolderOf(platform::OwnModulePath());
  if (!StartUninstall(uninstaller)) {
    std::printf("%s\n", platform::WideToUtf8(uninstaller.statusText).c_str());
    return 1;
  }
  std::printf("started\n");
  if (argc > 1 && std::wstring(argv[1]) == L"--close") {
    uninstaller.helper->Terminate(1);
    std::uint32_t code = 0;
    (void)uninstaller.helper->Wait(10000);
    if (uninstaller.helper->ExitCode(code)) std::printf("helper exit: %u\n", code);
  }
  return 0;
}
