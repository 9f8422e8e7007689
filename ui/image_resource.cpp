#include "ui/image_resource.h"

#include <cstring>
#include <string>

#include "platform/resources.h"
#include "platform/win32/handles.h"

namespace ui {

std::unique_ptr<Gdiplus::Bitmap> LoadImageResource(int id, HMODULE module) {
  std::string bytes;
  if (!platform::ReadRcData({module}, id, bytes) || bytes.empty()) return nullptr;
  platform::win32::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
  if (!block) return nullptr;
  void* target = GlobalLock(block.get());
  // A stream over a block that was never filled would decode whatever memory it held.
  if (!target) return nullptr;
  std::memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(block.get());
  platform::win32::ComPtr<IStream> stream;
  if (CreateStreamOnHGlobal(block.get(), /* fDeleteOnRelease */ TRUE, stream.out()) != S_OK) {
    return nullptr;
  }
  block.release();  // the stream frees it now
  auto bitmap = std::make_unique<Gdiplus::Bitmap>(stream.get());
  if (bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
  return bitmap;
}

}  // namespace ui
