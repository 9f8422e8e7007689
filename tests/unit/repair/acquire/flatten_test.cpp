#include "repair/acquire/flatten.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/tree_walk.h"
#include "test_support.h"
#include "tests/layers.h"

namespace fs = std::filesystem;

namespace {

class FlattenTest : public ::testing::Test {
 protected:
  void Put(const std::string& relative) { test::WriteFile(out_ / relative, "data:" + relative); }
  void Folder(const std::string& relative) { fs::create_directories(out_ / relative); }
  bool Flatten() { return FlattenSingleTopFolder(f_.job, out_); }
  std::wstring Detail() const { return f_.status.SnapshotStatus().detailLine; }

  test::TempDir dir_;
  fs::path out_ = dir_ / "extract";
  test::JobFixture f_;
};

TEST_F(FlattenTest, MovesASingleTopFolderUpOneLevel) {
  Put("Client/game.exe");
  Put("Client/data/a.pak");
  Folder("Client/empty");
  ASSERT_TRUE(Flatten());
  EXPECT_EQ(test::Tree(out_), (std::set<std::string>{"game.exe", "data/", "data/a.pak", "empty/"}));
  EXPECT_EQ(test::ReadFile(out_ / "data/a.pak"), "data:Client/data/a.pak");
  EXPECT_EQ(Detail(), L"Moving client files into place...");
  EXPECT_EQ(f_.status.SnapshotStatus().stage, JobStage::Extracting);
}

TEST_F(FlattenTest, LeavesOtherShapesAsTheyAreAndPublishesNothing) {
  fs::create_directories(out_);
  ASSERT_TRUE(Flatten());  // empty
  Put("Client/game.exe");
  Put("notes.txt");
  ASSERT_TRUE(Flatten());  // a file beside the folder
  fs::remove(out_ / "notes.txt");
  Put("Other/x.txt");
  ASSERT_TRUE(Flatten());  // two folders
  EXPECT_EQ(test::Tree(out_),
            (std::set<std::string>{"Client/", "Client/game.exe", "Other/", "Other/x.txt"}));
  EXPECT_EQ(f_.status.SnapshotStatus().statusLine, L"Ready.");
}

TEST_F(FlattenTest, OnlyTheFirstLevelIsFlattened) {
  Put("A/B/game.exe");
  ASSERT_TRUE(Flatten());
  EXPECT_EQ(test::Tree(out_), (std::set<std::string>{"B/", "B/game.exe"}));
}

TEST_F(FlattenTest, AnEmptyTopFolderIsRemoved) {
  Folder("Top");
  ASSERT_TRUE(Flatten());
  EXPECT_TRUE(test::Tree(out_).empty());
}

TEST_F(FlattenTest, AnEntryNamedLikeTheTopFolderLosesNothing) {
  Put("Client/Client/x.txt");
  Put("Client/Client/deep/z.txt");
  Put("Client/y.txt");
  Put("Client/zzz.txt");
  ASSERT_TRUE(Flatten());
  EXPECT_EQ(test::Tree(out_), (std::set<std::string>{"Client/", "Client/x.txt", "Client/deep/",
                                                     "Client/deep/z.txt", "y.txt", "zzz.txt"}));
  EXPECT_EQ(test::ReadFile(out_ / "Client/deep/z.txt"), "data:Client/Client/deep/z.txt");
}

TEST(MoveEntryInto, ReplacesWhatStandsAtTheTarget) {
  test::TempDir dir;
  test::WriteFile(dir / "from/data/new.pak", "new");
  test::WriteFile(dir / "to/data/old.pak", "old");
  std::error_code error;
  ASSERT_TRUE(MoveEntryInto(dir / "from/data", dir / "to", error)) << error.message();
  EXPECT_TRUE(fs::exists(dir / "to/data/new.pak"));
  EXPECT_FALSE(fs::exists(dir / "to/data/old.pak"));
  EXPECT_FALSE(fs::exists(dir / "from/data"));
}

TEST(MoveEntryInto, ReportsAMissingSource) {
  test::TempDir dir;
  fs::create_directories(dir / "to");
  std::error_code error;
  EXPECT_FALSE(MoveEntryInto(dir / "nothing", dir / "to", error));
  EXPECT_TRUE(error);
}

// A package may carry a link: flattening through it would empty the folder it points at.
TEST_F(FlattenTest, ASingleTopLinkIsNotFlattened) {
  test::WriteFile(dir_ / "outside/precious.txt", "keep");
  fs::create_directories(out_);
  std::error_code error;
  test::MakeLink(dir_ / "outside", out_ / "Client", error);
  if (error) GTEST_SKIP() << "no folder links here: " << error.message();
  ASSERT_TRUE(Flatten());
  EXPECT_EQ(test::ReadFile(dir_ / "outside/precious.txt"), "keep");
  EXPECT_EQ(test::Tree(dir_ / "outside"), (std::set<std::string>{"precious.txt"}));
  platform::TreeEntry client;
  ASSERT_TRUE(platform::DescribeEntry(out_ / "Client", client, error)) << error.message();
  EXPECT_EQ(client.kind, platform::TreeEntry::Kind::Link);
}

}  // namespace
