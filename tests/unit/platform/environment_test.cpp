#include "platform/environment.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// The benchmarks' memory targets rest on this figure: it must count what the process touches,
// in bytes, and keep the peak after the memory is given back.
TEST(PeakResidentBytes, RisesByMemoryTouchedAndStaysAfterItIsFreed) {
  constexpr std::uint64_t kTouched = 64u << 20;
  const std::uint64_t before = platform::PeakResidentBytes();
  {
    std::vector<char> block(kTouched, 1);  // written, so resident
    ASSERT_EQ(block[kTouched - 1], 1);
  }
  const std::uint64_t after = platform::PeakResidentBytes();
  // Earlier tests may have set a higher peak already, so only bounds that hold either way. The
  // upper one is loose: ThreadSanitizer's shadow memory grows with what the test touches, while a
  // unit error (KiB taken for bytes, or the reverse) would miss by a factor of 1024.
  EXPECT_GE(after, kTouched);
  EXPECT_GE(after, before);
  EXPECT_LT(after, before + 16 * kTouched);
}

}  // namespace
