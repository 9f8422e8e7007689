#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/text.h"
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

bool Copy(const fs::path& from, const fs::path& to, bool replace, std::error_code& error,
          const platform::StopRequested& stop = {}, std::size_t piece = 1 << 20) {
  std::vector<std::byte> buffer(piece);
  return platform::CopyFileWhole(from, to, replace, buffer, stop, error);
}

fs::path Partial(const fs::path& file) {
  return fs::path(file.native() + platform::WideToPath(platform::kPartialSuffix).native());
}

TEST(CopyFileWhole, CopiesTheBytesAndTheWriteTimeToANewFile) {
  test::TempDir dir;
  test::WriteFile(dir / "from", "package bytes");
  fs::last_write_time(dir / "from", AnHourAgo());
  std::error_code error;
  ASSERT_TRUE(Copy(dir / "from", dir / "to", false, error)) << error.message();
  EXPECT_EQ(test::ReadFile(dir / "to"), "package bytes");
  EXPECT_EQ(fs::last_write_time(dir / "to"), fs::last_write_time(dir / "from"));
}

TEST(CopyFileWhole, ReplacesALongerAndAShorterFileLeavingNoPartialCopy) {
  test::TempDir dir;
  test::WriteFile(dir / "from", "12345");
  test::WriteFile(dir / "longer", "1234567890");
  test::WriteFile(dir / "shorter", "1");
  test::WriteFile(dir / "empty", "");
  // What a killed run left beside the file is overwritten and goes.
  test::WriteFile(Partial(dir / "longer"), "left from a killed run");
  std::error_code error;
  ASSERT_TRUE(Copy(dir / "from", dir / "longer", true, error)) << error.message();
  ASSERT_TRUE(Copy(dir / "from", dir / "shorter", true, error, {}, 2)) << error.message();
  ASSERT_TRUE(Copy(dir / "empty", dir / "from", true, error)) << error.message();
  EXPECT_EQ(test::ReadFile(dir / "longer"), "12345");
  EXPECT_EQ(test::ReadFile(dir / "shorter"), "12345");
  EXPECT_EQ(test::ReadFile(dir / "from"), "");
  EXPECT_EQ(test::Tree(dir.path()), (std::set<std::string>{"empty", "from", "longer", "shorter"}));
}

TEST(CopyFileWhole, ANewFileIsCreatedExclusively) {
  test::TempDir dir;
  test::WriteFile(dir / "from", "new");
  test::WriteFile(dir / "there", "keep me");
  std::error_code error;
  EXPECT_FALSE(Copy(dir / "from", dir / "there", false, error));
  EXPECT_TRUE(error);
  EXPECT_EQ(test::ReadFile(dir / "there"), "keep me");
}

TEST(CopyFileWhole, FailsWithoutHarmOntoAFolderOrFromNothing) {
  test::TempDir dir;
  test::WriteFile(dir / "file", "keep me");
  test::WriteFile(dir / "folder/inside", "mine");
  std::error_code error;
  EXPECT_FALSE(Copy(dir / "file", dir / "folder", true, error));
  EXPECT_TRUE(error);
  EXPECT_EQ(test::ReadFile(dir / "folder/inside"), "mine");
  EXPECT_FALSE(Copy(dir / "missing", dir / "file", true, error));
  EXPECT_TRUE(error);
  EXPECT_EQ(test::ReadFile(dir / "file"), "keep me");
  EXPECT_EQ(test::Tree(dir.path()), (std::set<std::string>{"file", "folder/", "folder/inside"}));
}

// A copy that ends half-way (here a stop after the first piece) takes back what it wrote.
TEST(CopyFileWhole, AStoppedCopyLeavesTheOldFileWholeAndNothingElse) {
  test::TempDir dir;
  test::WriteFile(dir / "from", "the package's new and longer content");
  test::WriteFile(dir / "old", "the old content");
  int asked = 0;
  const platform::StopRequested stopAfterOnePiece = [&asked] { return ++asked > 1; };
  std::error_code error;
  EXPECT_FALSE(Copy(dir / "from", dir / "old", true, error, stopAfterOnePiece, 4));
  EXPECT_EQ(error, std::errc::operation_canceled);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(test::ReadFile(dir / "old"), "the old content");
  asked = 0;
  EXPECT_FALSE(Copy(dir / "from", dir / "new", false, error, stopAfterOnePiece, 4));
  EXPECT_EQ(test::Tree(dir.path()), (std::set<std::string>{"from", "old"}));
}

// Mod managers stage files as hard links to their own store: a replacement must not reach it.
TEST(CopyFileWhole, AHardLinkedFileIsReplacedNotWrittenThrough) {
  test::TempDir dir;
  test::WriteFile(dir / "from", "package");
  test::WriteFile(dir / "store/mod.pak", "the mod's own bytes");
  std::error_code error;
  fs::create_hard_link(dir / "store/mod.pak", dir / "client.pak", error);
  ASSERT_FALSE(error) << error.message();
  ASSERT_TRUE(Copy(dir / "from", dir / "client.pak", true, error)) << error.message();
  EXPECT_EQ(test::ReadFile(dir / "client.pak"), "package");
  EXPECT_EQ(test::ReadFile(dir / "store/mod.pak"), "the mod's own bytes");
}

TEST(CopyFileWhole, AReadOnlyFileIsReplaced) {
  test::TempDir dir;
  test::WriteFile(dir / "from", "package");
  test::WriteFile(dir / "locked", "old");
  fs::permissions(dir / "locked",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  std::error_code error;
  EXPECT_TRUE(Copy(dir / "from", dir / "locked", true, error)) << error.message();
  EXPECT_EQ(test::ReadFile(dir / "locked"), "package");
  fs::permissions(dir / "locked", fs::perms::owner_write, fs::perm_options::add, error);
}

TEST(WriteFileWhole, WritesAndReplacesLeavingNoPartialFile) {
  test::TempDir dir;
  test::WriteFile(dir / "Uninstall.exe", "an older, longer uninstaller");
  const std::string bytes = "MZ new";
  std::error_code error;
  ASSERT_TRUE(platform::WriteFileWhole(dir / "Uninstall.exe",
                                       std::as_bytes(std::span(bytes.data(), bytes.size())), error))
      << error.message();
  EXPECT_EQ(test::ReadFile(dir / "Uninstall.exe"), bytes);
  EXPECT_FALSE(platform::WriteFileWhole(dir / "no/such/folder/Uninstall.exe",
                                        std::as_bytes(std::span(bytes.data(), bytes.size())),
                                        error));
  EXPECT_EQ(test::Tree(dir.path()), (std::set<std::string>{"Uninstall.exe"}));
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

// A reader must not keep another program from moving the file away and putting another in its
// place, nor the pass from writing a replacement beside it.
TEST(InputFile, LetsTheFileBeMovedAwayAndReplacedWhileOpen) {
  test::TempDir dir;
  test::WriteFile(dir / "source", "new");
  test::WriteFile(dir / "file", "old");
  platform::InputFile file;
  ASSERT_TRUE(file.Open(dir / "file"));
  std::error_code error;
  ASSERT_TRUE(platform::RenameEntry(dir / "file", dir / "moved", error)) << error.message();
  EXPECT_TRUE(Copy(dir / "source", dir / "file", false, error)) << error.message();
  EXPECT_EQ(ReadAll(file, 64), "old");
  file.Close();
  EXPECT_EQ(test::ReadFile(dir / "file"), "new");
}

}  // namespace
