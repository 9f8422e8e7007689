#include "repair/window/image_resource.h"

#include <objidl.h>

#include <cstring>
#include <string>

#include "platform/resources.h"

namespace {

// The stream owns the global block it was made on; releasing the stream frees it.
struct StreamOwner {
  IStream* stream = nullptr;
  ~StreamOwner() {
    if (stream) stream->Release();
  }
};

}  // namespace

std::unique_ptr<Gdiplus::Bitmap> LoadImageResource(int id, HMODULE module) {
  std::string bytes;
  if (!platform::ReadRcData({module}, id, bytes) || bytes.empty()) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!block) return nullptr;
  if (void* target = GlobalLock(block)) {
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(block);
  }
  StreamOwner owner;
  if (CreateStreamOnHGlobal(block, /* fDeleteOnRelease */ TRUE, &owner.stream) != S_OK) {
    GlobalFree(block);
    return nullptr;
  }
  auto bitmap = std::make_unique<Gdiplus::Bitmap>(owner.stream);
  if (bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
  return bitmap;
}
