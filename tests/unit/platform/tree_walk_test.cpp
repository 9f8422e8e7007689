#include "platform/tree_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/text.h"
#include "test_support.h"

namespace fs = std::filesystem;
using Kind = platform::TreeEntry::Kind;

namespace {

// Each entry as "relative kind size", '/'-separated, in walk order.
std::vector<std::string> Walk(const fs::path& root, std::error_code& error) {
  std::vector<std::string> seen;
  const bool walked = platform::WalkTree(
      root,
      [&](const platform::TreeEntry& entry) {
        std::string line = platform::WideToUtf8(platform::PathToWide(entry.relative));
        for (char& c : line) c = c == '\\' ? '/' : c;
        const char* kinds[] = {"file", "folder", "link", "other"};
        line += ' ';
        line += kinds[static_cast<int>(entry.kind)];
        if (entry.kind == Kind::File) {
          line += ' ';
          line += std::to_string(entry.size);
        }
        seen.push_back(line);
        return platform::WalkStep::Continue;
      },
      error);
  EXPECT_EQ(walked, !error);
  return seen;
}

// Folders and a file made through the platform's own calls, which take any length.
void WriteLong(const fs::path& file, const std::string& bytes) {
  std::error_code error;
  ASSERT_TRUE(platform::CreateFolders(file.parent_path(), error)) << error.message();
  ASSERT_TRUE(
      platform::WriteFileWhole(file, std::as_bytes(std::span(bytes.data(), bytes.size())), error))
      << error.message();
}

TEST(WalkTree, YieldsEachFolderBeforeItsContentWithTheListingsFacts) {
  test::TempDir dir;
  test::WriteFile(dir / "root/a/one.txt", "1");
  test::WriteFile(dir / "root/a/b/two.txt", "22");
  fs::create_directories(dir / "root/empty");
  test::WriteFile(dir / "root/three.txt", "333");
  std::error_code error;
  std::vector<std::string> seen = Walk(dir / "root", error);
  ASSERT_FALSE(error) << error.message();
  // Listing order is the file system's; what must hold is each folder before its content and a
  // folder's content before its next sibling.
  const auto at = [&](const std::string& line) {
    return std::find(seen.begin(), seen.end(), line) - seen.begin();
  };
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_LT(at("a folder"), at("a/one.txt file 1"));
  EXPECT_LT(at("a folder"), at("a/b folder"));
  EXPECT_LT(at("a/b folder"), at("a/b/two.txt file 2"));
  EXPECT_LT(at("empty folder"), static_cast<long>(seen.size()));
  EXPECT_LT(at("three.txt file 3"), static_cast<long>(seen.size()));
  const long a = at("a folder");
  for (const char* inside : {"a/one.txt file 1", "a/b folder", "a/b/two.txt file 2"}) {
    EXPECT_EQ(at(inside) - a <= 3, true) << inside;
  }
}

TEST(WalkTree, AMissingRootIsAnEmptyTreeAndAStopEndsTheWalk) {
  test::TempDir dir;
  std::error_code error;
  EXPECT_TRUE(Walk(dir / "missing", error).empty());
  EXPECT_FALSE(error);
  test::WriteFile(dir / "root/a.txt", "a");
  test::WriteFile(dir / "root/b.txt", "b");
  int visits = 0;
  EXPECT_TRUE(platform::WalkTree(
      dir / "root",
      [&](const platform::TreeEntry&) {
        ++visits;
        return platform::WalkStep::Stop;
      },
      error));
  EXPECT_EQ(visits, 1);
}

// Past 300 characters the plain Win32 layer gives up; the walk must not.
TEST(WalkTree, WalksPathsOfAnyLength) {
  test::TempDir dir;
  fs::path deep = dir / "root";
  const std::string segment(40, 'd');
  for (int i = 0; i < 9; ++i) deep /= segment + std::to_string(i);
  WriteLong(deep / "deep.txt", "deep");
  ASSERT_GT(platform::PathToWide(deep).size(), 300u);
  std::error_code error;
  const std::vector<std::string> seen = Walk(dir / "root", error);
  ASSERT_FALSE(error) << error.message();
  ASSERT_EQ(seen.size(), 10u);
  EXPECT_TRUE(seen.back().ends_with("/deep.txt file 4")) << seen.back();
}

// A link is yielded as a link and never entered, so nothing behind it is reached.
TEST(WalkTree, ALinkIsYieldedAndNeverEntered) {
  test::TempDir dir;
  test::WriteFile(dir / "outside/secret.txt", "secret");
  test::WriteFile(dir / "root/own.txt", "own");
  std::error_code error;
  test::MakeLink(dir / "outside", dir / "root/outside.lnk", error);
  if (error) GTEST_SKIP() << "no folder links here: " << error.message();
  const std::vector<std::string> seen = Walk(dir / "root", error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()),
            (std::set<std::string>{"outside.lnk link", "own.txt file 3"}));
}

TEST(ListFolder, ListsOneLevelAndDescribeEntryTellsTheSame) {
  test::TempDir dir;
  test::WriteFile(dir / "root/file.bin", "12345");
  test::WriteFile(dir / "root/sub/inner.bin", "1");
  std::vector<platform::TreeEntry> entries;
  std::error_code error;
  ASSERT_TRUE(platform::ListFolder(dir / "root", entries, error)) << error.message();
  ASSERT_EQ(entries.size(), 2u);
  for (const platform::TreeEntry& entry : entries) {
    platform::TreeEntry described;
    ASSERT_TRUE(platform::DescribeEntry(dir / "root" / entry.relative, described, error));
    EXPECT_EQ(described.name, entry.name);
    EXPECT_EQ(described.kind, entry.kind);
    EXPECT_EQ(described.size, entry.size);
    if (entry.kind == Kind::File) {
      EXPECT_EQ(described.lastWriteTime, entry.lastWriteTime);
    }
    EXPECT_EQ(entry.kind, entry.name == L"sub" ? Kind::Folder : Kind::File);
  }
  platform::TreeEntry none;
  EXPECT_FALSE(platform::DescribeEntry(dir / "root/none", none, error));
  EXPECT_FALSE(error);
  EXPECT_TRUE(platform::ListFolder(dir / "missing", entries, error));
  EXPECT_TRUE(entries.empty());
}

}  // namespace
