#include "platform/host/registry_host.h"

#include <mutex>

#include "platform/registry.h"

namespace platform {
namespace {

struct Store {
  std::mutex lock;
  std::map<std::wstring, RegistryValues> keys;
  bool failCreate = false;
  std::wstring failingValue;
};

Store& HostStore() {
  static Store store;
  return store;
}

}  // namespace

std::map<std::wstring, RegistryValues> HostRegistrySnapshot() {
  std::lock_guard guard(HostStore().lock);
  return HostStore().keys;
}

void ClearHostRegistry() {
  std::lock_guard guard(HostStore().lock);
  HostStore().keys.clear();
  HostStore().failCreate = false;
  HostStore().failingValue.clear();
}

void FailHostRegistry(bool failCreate, const std::wstring& failingValue) {
  std::lock_guard guard(HostStore().lock);
  HostStore().failCreate = failCreate;
  HostStore().failingValue = failingValue;
}

struct RegistryKey::Handle {
  std::wstring subkey;
  bool open = false;

  bool Set(const std::wstring& name, RegistryValue value) {
    Store& store = HostStore();
    std::lock_guard guard(store.lock);
    if (!open || name == store.failingValue) return false;
    store.keys[subkey][name] = std::move(value);
    return true;
  }
};

RegistryKey::RegistryKey() : handle_(std::make_unique<Handle>()) {}
RegistryKey::~RegistryKey() = default;

bool RegistryKey::Create(const std::wstring& subkey) {
  Store& store = HostStore();
  std::lock_guard guard(store.lock);
  if (store.failCreate) return false;
  store.keys[subkey];
  handle_->subkey = subkey;
  handle_->open = true;
  return true;
}

bool RegistryKey::SetString(const std::wstring& name, const std::wstring& value) {
  return handle_->Set(name, value);
}

bool RegistryKey::SetDword(const std::wstring& name, std::uint32_t value) {
  return handle_->Set(name, value);
}

void RegistryKey::Close() {
  handle_->open = false;
}

}  // namespace platform
