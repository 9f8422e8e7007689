#include <gtest/gtest.h>

#include <locale>

int main(int argc, char** argv) {
#ifndef _WIN32
  // Paths travel as wide text; on Linux the C library converts them to UTF-8 only under a UTF-8
  // locale, as it is on any desktop. The bare "C" locale of a test runner would refuse é or 日本.
  std::locale::global(std::locale("C.UTF-8"));
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
