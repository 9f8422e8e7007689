#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

using Sha256Digest = std::array<std::uint8_t, 32>;

// A SHA-256 computation (FIPS 180-4) by the system's own hashing service.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  // Each step returns false when the service fails; the object is then of no further use.
  [[nodiscard]] bool Open();
  [[nodiscard]] bool Add(const std::byte* data, std::size_t size);
  [[nodiscard]] bool Finish(Sha256Digest& digest);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform
