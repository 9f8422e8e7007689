#include <windows.h>

#include <knownfolders.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/shell.h"
#include "platform/win32/handles.h"

namespace platform {
using win32::ComPtr;

bool DesktopFolder(std::filesystem::path& folder) {
  win32::UniqueTaskMemText path;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, path.out())) || !path) {
    return false;
  }
  folder = path.get();
  return true;
}

ShellLinkResult SaveShellLink(const std::filesystem::path& link,
                              const std::filesystem::path& target,
                              const std::filesystem::path& workingFolder,
                              const std::wstring& description) {
  ComPtr<IShellLinkW> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              shellLink.out_void())) ||
      !shellLink) {
    return ShellLinkResult::NoLinkObject;
  }
  shellLink->SetPath(target.c_str());
  shellLink->SetWorkingDirectory(workingFolder.c_str());
  shellLink->SetDescription(description.c_str());
  ComPtr<IPersistFile> file;
  HRESULT result = shellLink->QueryInterface(IID_IPersistFile, file.out_void());
  if (SUCCEEDED(result) && file) result = file->Save(link.c_str(), TRUE);
  return SUCCEEDED(result) ? ShellLinkResult::Saved : ShellLinkResult::NotSaved;
}

void ShellOpen(void* ownerWindow, const std::wstring& file, const std::filesystem::path& folder) {
  ShellExecuteW(static_cast<HWND>(ownerWindow), L"open", file.c_str(), nullptr,
                folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
}

}  // namespace platform
