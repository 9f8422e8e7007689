#include <openssl/evp.h>

#include "platform/sha256.h"

namespace platform {

struct Sha256::State {
  EVP_MD_CTX* context = nullptr;
  ~State() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256() : state_(std::make_unique<State>()) {}
Sha256::~Sha256() = default;

bool Sha256::Open() {
  state_->context = EVP_MD_CTX_new();
  return state_->context && EVP_DigestInit_ex(state_->context, EVP_sha256(), nullptr) == 1;
}

bool Sha256::Add(const std::byte* data, std::size_t size) {
  return EVP_DigestUpdate(state_->context, data, size) == 1;
}

bool Sha256::Finish(Sha256Digest& digest) {
  unsigned int length = 0;
  return EVP_DigestFinal_ex(state_->context, digest.data(), &length) == 1 &&
         length == digest.size();
}

}  // namespace platform
