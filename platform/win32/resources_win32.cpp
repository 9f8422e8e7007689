#include <windows.h>

#include "platform/resources.h"

namespace platform {

bool ReadRcData(ModuleRef module, int id, std::string& bytes) {
  HMODULE handle = module.handle ? static_cast<HMODULE>(module.handle) : GetModuleHandleW(nullptr);
  // A plain FindResourceW follows the UI language and would pick an en-US copy over the
  // language-neutral one on an English system; ask for the neutral copy first.
  HRSRC info = FindResourceExW(handle, MAKEINTRESOURCEW(10), MAKEINTRESOURCEW(id),
                               MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  if (!info) info = FindResourceW(handle, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));
  if (!info) return false;
  HGLOBAL loaded = LoadResource(handle, info);  // not freed: resource memory lives with the image
  if (!loaded) return false;
  const DWORD size = SizeofResource(handle, info);
  const void* data = LockResource(loaded);
  if (!data || size == 0) return false;
  bytes.assign(static_cast<const char*>(data), size);
  return true;
}

}  // namespace platform
