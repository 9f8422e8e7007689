// Prints a shell link's target, working folder and description, one per line, as the shell's
// own link object reads them: read_link.exe LINK
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>

#include "platform/text.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 || FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  int result = 1;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(argv[1], STGM_READ))) {
    wchar_t target[MAX_PATH] = {};
    wchar_t folder[MAX_PATH] = {};
    wchar_t description[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, 0);
    link->GetWorkingDirectory(folder, MAX_PATH);
    link->GetDescription(description, MAX_PATH);
    for (const wchar_t* line : {target, folder, description}) {
      std::printf("%s\n", platform::WideToUtf8(line).c_str());
    }
    result = 0;
  }
  if (file) file->Release();
  if (link) link->Release();
  CoUninitialize();
  return result;
}
