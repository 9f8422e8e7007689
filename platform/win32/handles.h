#pragma once

// windows.h must come first: the other two rely on its types.
#include <windows.h>

#include <bcrypt.h>
#include <objbase.h>
#include <winhttp.h>

#include <utility>

namespace platform::win32 {

// One move-only owner for every Win32 handle kind; Traits names the empty value and the closer.
template <typename Traits>
class Owned {
 public:
  using Handle = typename Traits::Handle;

  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { reset(); }
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    reset(other.release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Empty(); }
  Handle release() { return std::exchange(handle_, Traits::Empty()); }
  void reset(Handle handle = Traits::Empty()) {
    if (handle_ != Traits::Empty()) Traits::Close(handle_);
    handle_ = handle;
  }
  // For APIs that write a new handle through a pointer.
  Handle* out() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Empty();
};

struct KernelTraits {
  using Handle = HANDLE;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { CloseHandle(h); }
};
// CreateFileW reports failure as INVALID_HANDLE_VALUE rather than null.
struct FileTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};
struct InternetTraits {
  using Handle = HINTERNET;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { WinHttpCloseHandle(h); }
};
struct AlgorithmTraits {
  using Handle = BCRYPT_ALG_HANDLE;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { BCryptCloseAlgorithmProvider(h, 0); }
};
struct HashTraits {
  using Handle = BCRYPT_HASH_HANDLE;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { BCryptDestroyHash(h); }
};
struct RegistryTraits {
  using Handle = HKEY;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { RegCloseKey(h); }
};
// Text the shell and COM allocate for the caller (SHGetKnownFolderPath and the like).
struct TaskMemTextTraits {
  using Handle = PWSTR;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { CoTaskMemFree(h); }
};
struct GlobalTraits {
  using Handle = HGLOBAL;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { GlobalFree(h); }
};
struct AttributeListTraits {
  using Handle = LPPROC_THREAD_ATTRIBUTE_LIST;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { DeleteProcThreadAttributeList(h); }
};
template <typename Interface>
struct ComTraits {
  using Handle = Interface*;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { h->Release(); }
};

using UniqueHandle = Owned<KernelTraits>;
using UniqueFile = Owned<FileTraits>;
using UniqueFind = Owned<FindTraits>;
using UniqueInternet = Owned<InternetTraits>;
using UniqueAlgorithm = Owned<AlgorithmTraits>;
using UniqueHash = Owned<HashTraits>;
using UniqueKey = Owned<RegistryTraits>;
using UniqueTaskMemText = Owned<TaskMemTextTraits>;
using UniqueGlobal = Owned<GlobalTraits>;
// The list itself; the memory it lives in belongs to the caller.
using UniqueAttributeList = Owned<AttributeListTraits>;

// A COM interface pointer, released once.
template <typename Interface>
class ComPtr : public Owned<ComTraits<Interface>> {
 public:
  using Owned<ComTraits<Interface>>::Owned;
  Interface* operator->() const { return this->get(); }
  // For APIs that return an interface through a void**.
  void** out_void() { return reinterpret_cast<void**>(this->out()); }
};

}  // namespace platform::win32
