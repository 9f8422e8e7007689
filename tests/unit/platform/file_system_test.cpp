#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "test_support.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Kind = platform::FileFacts::Kind;

namespace {

// Whole seconds, which every file system stores as given.
fs::file_time_type AnHourAgo() {
  return std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now()) - 1h;
}

class FileFactsTest : public ::testing::Test {
 protected:
  platform::FileFacts Facts(const fs::path& path) {
    platform::FileFacts facts;
    std::error_code error;
    EXPECT_TRUE(platform::QueryFileFacts(path, facts, error)) << error.message();
    return facts;
  }

  test::TempDir dir_;
};

TEST_F(FileFactsTest, AFileHasItsSizeAndTheTimeTheStandardLibraryReads) {
  test::WriteFile(dir_ / "a.pak", "twelve bytes");
  const auto time = AnHourAgo();
  fs::last_write_time(dir_ / "a.pak", time);

  const platform::FileFacts facts = Facts(dir_ / "a.pak");
  EXPECT_EQ(facts.kind, Kind::File);
  EXPECT_EQ(facts.size, 12u);
  EXPECT_EQ(facts.lastWriteTime, time);
  EXPECT_EQ(facts.lastWriteTime, fs::last_write_time(dir_ / "a.pak"));
}

TEST_F(FileFactsTest, AnEmptyFileIsAFile) {
  test::WriteFile(dir_ / "empty", "");
  const platform::FileFacts facts = Facts(dir_ / "empty");
  EXPECT_EQ(facts.kind, Kind::File);
  EXPECT_EQ(facts.size, 0u);
}

TEST_F(FileFactsTest, AFolderIsAFolder) {
  fs::create_directories(dir_ / "data");
  EXPECT_EQ(Facts(dir_ / "data").kind, Kind::Folder);
}

TEST_F(FileFactsTest, WhatDoesNotExistIsMissingWithoutAnError) {
  test::WriteFile(dir_ / "file", "x");
  EXPECT_EQ(Facts(dir_ / "nothing").kind, Kind::Missing);
  EXPECT_EQ(Facts(dir_ / "no/such/folder/file").kind, Kind::Missing);
  // A path that continues below a file.
  EXPECT_EQ(Facts(dir_ / "file" / "below").kind, Kind::Missing);
}

#ifndef _WIN32
TEST_F(FileFactsTest, ALinkIsFollowedAndALinkToNothingIsMissing) {
  test::WriteFile(dir_ / "target.bin", "12345");
  fs::create_directories(dir_ / "folder");
  fs::create_symlink(dir_ / "target.bin", dir_ / "file.lnk");
  fs::create_directory_symlink(dir_ / "folder", dir_ / "folder.lnk");
  fs::create_symlink(dir_ / "gone", dir_ / "dangling.lnk");

  const platform::FileFacts file = Facts(dir_ / "file.lnk");
  EXPECT_EQ(file.kind, Kind::File);
  EXPECT_EQ(file.size, 5u);
  EXPECT_EQ(file.lastWriteTime, fs::last_write_time(dir_ / "target.bin"));
  EXPECT_EQ(Facts(dir_ / "folder.lnk").kind, Kind::Folder);
  EXPECT_EQ(Facts(dir_ / "dangling.lnk").kind, Kind::Missing);
}
#endif

TEST(CopyFileReplacing, CopiesTheBytesAndTheWriteTime) {
  test::TempDir dir;
  test::WriteFile(dir / "from", "package bytes");
  fs::last_write_time(dir / "from", AnHourAgo());
  std::error_code error;
  ASSERT_TRUE(platform::CopyFileReplacing(dir / "from", dir / "to", error)) << error.message();
  EXPECT_EQ(test::ReadFile(dir / "to"), "package bytes");
  EXPECT_EQ(fs::last_write_time(dir / "to"), fs::last_write_time(dir / "from"));
}

TEST(CopyFileReplacing, ReplacesALongerAndAShorterFile) {
  test::TempDir dir;
  test::WriteFile(dir / "from", "12345");
  test::WriteFile(dir / "longer", "1234567890");
  test::WriteFile(dir / "shorter", "1");
  test::WriteFile(dir / "empty", "");
  std::error_code error;
  ASSERT_TRUE(platform::CopyFileReplacing(dir / "from", dir / "longer", error));
  ASSERT_TRUE(platform::CopyFileReplacing(dir / "from", dir / "shorter", error));
  ASSERT_TRUE(platform::CopyFileReplacing(dir / "empty", dir / "from", error));
  EXPECT_EQ(test::ReadFile(dir / "longer"), "12345");
  EXPECT_EQ(test::ReadFile(dir / "shorter"), "12345");
  EXPECT_EQ(test::ReadFile(dir / "from"), "");
}

TEST(CopyFileReplacing, FailsWithoutHarmOntoItselfAFolderOrFromNothing) {
  test::TempDir dir;
  test::WriteFile(dir / "file", "keep me");
  fs::create_directories(dir / "folder");
  std::error_code error;
  EXPECT_FALSE(platform::CopyFileReplacing(dir / "file", dir / "file", error));
  EXPECT_TRUE(error);
  EXPECT_EQ(test::ReadFile(dir / "file"), "keep me");
  EXPECT_FALSE(platform::CopyFileReplacing(dir / "file", dir / "folder", error));
  EXPECT_TRUE(error);
  EXPECT_FALSE(platform::CopyFileReplacing(dir / "missing", dir / "new", error));
  EXPECT_TRUE(error);
  EXPECT_FALSE(fs::exists(dir / "new"));
}

std::string ReadAll(platform::InputFile& file, std::size_t piece) {
  std::string bytes;
  std::string buffer(piece, '\0');
  for (;;) {
    std::size_t got = 0;
    EXPECT_TRUE(file.Read(reinterpret_cast<std::byte*>(buffer.data()), piece, got));
    if (got == 0) return bytes;
    bytes.append(buffer, 0, got);
  }
}

TEST(InputFile, ReadsEveryByteAndThenReportsTheEnd) {
  test::TempDir dir;
  const std::string content = "0123456789abcdefghij";
  test::WriteFile(dir / "file", content);
  platform::InputFile file;
  ASSERT_TRUE(file.Open(dir / "file"));
  EXPECT_EQ(ReadAll(file, 7), content);
}

TEST(InputFile, CanBeOpenedAgainOnAnotherFile) {
  test::TempDir dir;
  test::WriteFile(dir / "first", "first");
  test::WriteFile(dir / "second", "second");
  platform::InputFile file;
  ASSERT_TRUE(file.Open(dir / "first"));
  ASSERT_TRUE(file.Open(dir / "second"));
  EXPECT_EQ(ReadAll(file, 64), "second");
  file.Close();
  EXPECT_FALSE(file.Open(dir / "missing"));
}

// A reader must not keep another program (or the pass itself) from replacing the file.
TEST(InputFile, LetsTheFileBeReplacedWhileOpen) {
  test::TempDir dir;
  test::WriteFile(dir / "source", "new");
  test::WriteFile(dir / "file", "old");
  platform::InputFile file;
  ASSERT_TRUE(file.Open(dir / "file"));
  std::error_code error;
  EXPECT_TRUE(platform::CopyFileReplacing(dir / "source", dir / "file", error)) << error.message();
  file.Close();
  EXPECT_EQ(test::ReadFile(dir / "file"), "new");
}

}  // namespace
