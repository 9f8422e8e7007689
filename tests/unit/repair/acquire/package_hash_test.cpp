#include "repair/acquire/package_hash.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "tests/layers.h"

namespace {

std::wstring HashOf(const std::string& bytes) {
  test::TempDir dir;
  test::WriteFile(dir / "file", bytes);
  std::wstring hex = L"untouched";
  EXPECT_TRUE(HashFileSha256(dir / "file", hex));
  return hex;
}

TEST(HashFileSha256, KnownAnswers) {
  EXPECT_EQ(HashOf(""), L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(HashOf("abc"), L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // One byte past a 1 MiB read: the short last read is hashed too.
  EXPECT_EQ(HashOf(std::string(1'048'577, 'a')),
            L"4a3f0c0c213adea174f9a3d4c13177315b588bdb2e9c1012d3d0bf0453ca0f6a");
  EXPECT_EQ(HashOf(std::string(1'000'000, 'a')),
            L"cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(HashFileSha256, MissingFileLeavesTheTextAlone) {
  test::TempDir dir;
  std::wstring hex = L"untouched";
  EXPECT_FALSE(HashFileSha256(dir / "gone.zip", hex));
  EXPECT_EQ(hex, L"untouched");
}

class VerifyPackageTest : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteFile(file_, "abc"); }
  bool Verify(const std::wstring& configured) {
    f_.profile.archiveSha256 = configured;
    return VerifyPackage(f_.job, file_);
  }
  test::TempDir dir_;
  std::filesystem::path file_ = dir_ / "package.zip";
  test::JobFixture f_;
};

TEST_F(VerifyPackageTest, NothingConfiguredSkipsSilently) {
  EXPECT_TRUE(Verify(L"  \t "));
  EXPECT_EQ(f_.status.SnapshotStatus().statusLine, L"Ready.");
}

TEST_F(VerifyPackageTest, MatchIgnoresCaseAndSeparators) {
  EXPECT_TRUE(Verify(L" BA:78:16:BF 8F01CFEA-414140DE5DAE2223B00361A396177A9CB410FF61F20015AD \n"));
  const StatusSnapshot snapshot = f_.status.SnapshotStatus();
  EXPECT_EQ(snapshot.stage, JobStage::Verifying);
  EXPECT_EQ(snapshot.statusLine, L"Verifying package...");
  EXPECT_EQ(snapshot.detailLine, L"Checking SHA-256 hash...");
}

TEST_F(VerifyPackageTest, MismatchFailsTheJob) {
  for (const wchar_t* wrong :
       {L"sha256:ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", L"none",
        L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ae"}) {
    f_.status.ResetStatus();
    EXPECT_FALSE(Verify(wrong)) << wrong;
    EXPECT_EQ(f_.status.SnapshotStatus().failureText,
              L"The downloaded package hash does not match the configured SHA-256.");
  }
}

TEST_F(VerifyPackageTest, VanishedFileCannotBeVerified) {
  std::filesystem::remove(file_);
  EXPECT_FALSE(Verify(L"ba7816bf"));
  EXPECT_EQ(f_.status.SnapshotStatus().failureText, L"Could not verify the downloaded package.");
}

}  // namespace
