#include <windows.h>

#include <knownfolders.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/shell.h"

namespace platform {
namespace {

// One owner for any COM interface pointer.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  void** out() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

struct TaskMemText {
  PWSTR text = nullptr;
  ~TaskMemText() { CoTaskMemFree(text); }
};

}  // namespace

bool DesktopFolder(std::filesystem::path& folder) {
  TaskMemText path;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &path.text)) || !path.text) {
    return false;
  }
  folder = path.text;
  return true;
}

ShellLinkResult SaveShellLink(const std::filesystem::path& link,
                              const std::filesystem::path& target,
                              const std::filesystem::path& workingFolder,
                              const std::wstring& description) {
  ComPtr<IShellLinkW> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              shellLink.out())) ||
      !shellLink.get()) {
    return ShellLinkResult::kNoLinkObject;
  }
  shellLink->SetPath(target.c_str());
  shellLink->SetWorkingDirectory(workingFolder.c_str());
  shellLink->SetDescription(description.c_str());
  ComPtr<IPersistFile> file;
  HRESULT result = shellLink->QueryInterface(IID_IPersistFile, file.out());
  if (SUCCEEDED(result) && file.get()) result = file->Save(link.c_str(), TRUE);
  return SUCCEEDED(result) ? ShellLinkResult::kSaved : ShellLinkResult::kNotSaved;
}

void ShellOpen(void* ownerWindow, const std::wstring& file, const std::filesystem::path& folder) {
  ShellExecuteW(static_cast<HWND>(ownerWindow), L"open", file.c_str(), nullptr,
                folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
}

}  // namespace platform
