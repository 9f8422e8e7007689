#include "platform/sha256.h"

#include <vector>

#include "platform/win32/handles.h"

namespace platform {

// Destruction order matters: the hash goes before the provider that made it.
struct Sha256::State {
  win32::UniqueAlgorithm algorithm;
  std::vector<UCHAR> object;
  win32::UniqueHash hash;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {}
Sha256::~Sha256() {
  state_->hash.reset();
  state_->algorithm.reset();
}

bool Sha256::Open() {
  if (BCryptOpenAlgorithmProvider(state_->algorithm.out(), BCRYPT_SHA256_ALGORITHM, nullptr, 0) !=
      0) {
    return false;
  }
  DWORD objectLength = 0;
  ULONG written = 0;
  if (BCryptGetProperty(state_->algorithm.get(), BCRYPT_OBJECT_LENGTH,
                        reinterpret_cast<PUCHAR>(&objectLength), sizeof(objectLength), &written,
                        0) != 0) {
    return false;
  }
  state_->object.assign(objectLength, 0);
  return BCryptCreateHash(state_->algorithm.get(), state_->hash.out(), state_->object.data(),
                          objectLength, nullptr, 0, 0) == 0;
}

bool Sha256::Add(const std::byte* data, std::size_t size) {
  while (size > 0) {
    const ULONG chunk = size > 0x40000000 ? 0x40000000 : static_cast<ULONG>(size);
    if (BCryptHashData(state_->hash.get(), reinterpret_cast<PUCHAR>(const_cast<std::byte*>(data)),
                       chunk, 0) != 0) {
      return false;
    }
    data += chunk;
    size -= chunk;
  }
  return true;
}

bool Sha256::Finish(Sha256Digest& digest) {
  return BCryptFinishHash(state_->hash.get(), digest.data(), static_cast<ULONG>(digest.size()),
                          0) == 0;
}

}  // namespace platform
