#include "repair/client/verify_repair.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <span>

#include "platform/file_system.h"
#include "platform/text.h"

#include "test_support.h"
#include "tests/layers.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr fs::perms kWrite =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

// Whole seconds, so that a time survives a file system that stores no finer grain.
fs::file_time_type BaseTime() {
  return std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now()) - 1h;
}

class VerifyRepairTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(tool_, "running tool");
    f_.context.exePath = tool_.wstring();
    f_.context.clientFolder = client_.wstring();
  }

  // A package file and the same file already in the client, both with the package's time.
  void Both(const std::string& relative, const std::string& bytes) {
    test::WriteFile(package_ / relative, bytes);
    test::WriteFile(client_ / relative, bytes);
    fs::last_write_time(package_ / relative, base_);
    fs::last_write_time(client_ / relative, base_);
  }
  void InPackage(const std::string& relative, const std::string& bytes) {
    test::WriteFile(package_ / relative, bytes);
    fs::last_write_time(package_ / relative, base_);
  }

  bool Run(bool reinstall) { return VerifyAndRepairClient(f_.job, package_, reinstall); }
  StatusSnapshot Status() const { return f_.status.SnapshotStatus(); }

  test::TempDir dir_;
  fs::path package_ = dir_ / "extract";
  // Deeper than the package, so that an escape through ".." would land beside the client.
  fs::path client_ = dir_ / "games" / "Velmora";
  fs::path tool_ = client_ / "Fettle.exe";
  fs::file_time_type base_ = BaseTime();
  test::JobFixture f_;
};

TEST_F(VerifyRepairTest, ACleanClientIsLeftAlone) {
  Both("game.exe", "binary");
  Both("data/a.pak", "aaaa");
  Both("data/maps/b.map", "bbbb");
  // Within the tolerance: a copy would have given it the package's time.
  fs::last_write_time(client_ / "data/a.pak", base_ - 1s);

  ASSERT_TRUE(Run(false)) << Status().failureText;
  const StatusSnapshot status = Status();
  EXPECT_EQ(status.stage, JobStage::Installing);
  EXPECT_EQ(status.statusLine, L"Verifying client files...");
  EXPECT_EQ(status.detailLine, L"All files are already clean.");
  EXPECT_EQ(status.filesTotal, 3u);
  EXPECT_EQ(status.filesDone, 3u);
  EXPECT_EQ(status.filesChanged, 0u);
  EXPECT_TRUE(status.failureText.empty());
  EXPECT_EQ(fs::last_write_time(client_ / "data/a.pak"), base_ - 1s);
}

TEST_F(VerifyRepairTest, AMissingFileIsCopiedWithItsFolders) {
  Both("game.exe", "binary");
  InPackage("data/maps/b.map", "bbbb");

  ASSERT_TRUE(Run(false)) << Status().failureText;
  EXPECT_EQ(test::ReadFile(client_ / "data/maps/b.map"), "bbbb");
  EXPECT_EQ(fs::last_write_time(client_ / "data/maps/b.map"), base_);
  const StatusSnapshot status = Status();
  EXPECT_EQ(status.filesChanged, 1u);
  EXPECT_EQ(status.filesDone, 2u);
  EXPECT_EQ(status.filesTotal, 2u);
  EXPECT_EQ(status.detailLine, L"Fixed or updated missing/mismatched files.");
}

// Every case replaces an existing file, which mingw's own copy_file refuses to do.
TEST_F(VerifyRepairTest, DifferingFilesAreReplaced) {
  Both("same-size.pak", "abcdef");
  test::WriteFile(client_ / "same-size.pak", "abcXef");
  fs::last_write_time(client_ / "same-size.pak", base_);
  Both("shorter.pak", "0123456789");
  test::WriteFile(client_ / "shorter.pak", "01234");
  Both("longer.pak", "01234");
  test::WriteFile(client_ / "longer.pak", "0123456789");
  Both("empty.pak", "");
  test::WriteFile(client_ / "empty.pak", "x");
  Both("untouched.pak", "same");

  ASSERT_TRUE(Run(false)) << Status().failureText;
  EXPECT_EQ(test::ReadFile(client_ / "same-size.pak"), "abcdef");
  EXPECT_EQ(test::ReadFile(client_ / "shorter.pak"), "0123456789");
  EXPECT_EQ(test::ReadFile(client_ / "longer.pak"), "01234");
  EXPECT_EQ(test::ReadFile(client_ / "empty.pak"), "");
  EXPECT_EQ(fs::last_write_time(client_ / "longer.pak"), base_);
  EXPECT_EQ(fs::last_write_time(client_ / "shorter.pak"), base_);
  EXPECT_EQ(Status().filesChanged, 4u);
  EXPECT_EQ(Status().detailLine, L"Fixed or updated missing/mismatched files.");
}

TEST_F(VerifyRepairTest, AMatchingFileTakesThePackageTimeOnlyBeyondTheTolerance) {
  Both("older5.pak", "five");
  fs::last_write_time(client_ / "older5.pak", base_ - 5s);
  Both("newer5.pak", "five");
  fs::last_write_time(client_ / "newer5.pak", base_ + 5s);
  Both("older2.pak", "two");
  fs::last_write_time(client_ / "older2.pak", base_ - 2s);

  ASSERT_TRUE(Run(false)) << Status().failureText;
  EXPECT_EQ(fs::last_write_time(client_ / "older5.pak"), base_);
  EXPECT_EQ(fs::last_write_time(client_ / "newer5.pak"), base_);
  EXPECT_EQ(fs::last_write_time(client_ / "older2.pak"), base_ - 2s);
  EXPECT_EQ(Status().filesChanged, 0u);
  EXPECT_EQ(Status().detailLine, L"All files are already clean.");
}

TEST_F(VerifyRepairTest, RepairKeepsClientOnlyFilesAndCreatesEmptyFolders) {
  Both("game.exe", "binary");
  fs::create_directories(package_ / "logs");
  fs::create_directories(package_ / "data/cache/shaders");
  test::WriteFile(client_ / "config.ini", "user settings");
  test::WriteFile(client_ / "saves/slot1.sav", "progress");

  ASSERT_TRUE(Run(false)) << Status().failureText;
  EXPECT_EQ(
      test::Tree(client_),
      (std::set<std::string>{"Fettle.exe", "game.exe", "config.ini", "saves/", "saves/slot1.sav",
                             "logs/", "data/", "data/cache/", "data/cache/shaders/"}));
  EXPECT_EQ(test::ReadFile(client_ / "saves/slot1.sav"), "progress");
}

TEST_F(VerifyRepairTest, ReinstallReplacesTheWholeClientButTheTool) {
  Both("game.exe", "binary");
  InPackage("data/a.pak", "aaaa");
  test::WriteFile(client_ / "old.txt", "old");
  test::WriteFile(client_ / "data/stale.pak", "stale");
  test::WriteFile(client_ / "data/readonly.pak", "locked");
  fs::permissions(client_ / "data/readonly.pak", kWrite, fs::perm_options::remove);

  ASSERT_TRUE(Run(true)) << Status().failureText;
  EXPECT_EQ(test::Tree(client_),
            (std::set<std::string>{"Fettle.exe", "game.exe", "data/", "data/a.pak"}));
  EXPECT_EQ(test::ReadFile(tool_), "running tool");
  EXPECT_EQ(test::ReadFile(client_ / "data/a.pak"), "aaaa");
  const StatusSnapshot status = Status();
  EXPECT_EQ(status.stage, JobStage::Installing);
  EXPECT_EQ(status.statusLine, L"Reinstalling client...");
  EXPECT_EQ(status.detailLine, L"Reinstall complete.");
  EXPECT_EQ(status.filesTotal, 2u);
  EXPECT_EQ(status.filesDone, 2u);
  EXPECT_EQ(status.filesChanged, 2u);
}

class OwnExecutableInPackageTest : public VerifyRepairTest,
                                   public ::testing::WithParamInterface<bool> {};

// Copying over the running tool would fail on Windows and abort the whole pass.
TEST_P(OwnExecutableInPackageTest, IsReachedButNeverOverwritten) {
  Both("game.exe", "binary");
  InPackage("Fettle.exe", "packaged tool");
  // Only the file at the tool's own path is protected, not every file of that name.
  InPackage("bin/Fettle.exe", "packaged tool");

  ASSERT_TRUE(Run(GetParam())) << Status().failureText;
  EXPECT_EQ(test::ReadFile(tool_), "running tool");
  EXPECT_EQ(test::ReadFile(client_ / "bin/Fettle.exe"), "packaged tool");
  const StatusSnapshot status = Status();
  EXPECT_EQ(status.filesTotal, 3u);
  EXPECT_EQ(status.filesDone, 3u);
  EXPECT_EQ(status.filesChanged, GetParam() ? 2u : 1u);
}

INSTANTIATE_TEST_SUITE_P(RepairAndReinstall, OwnExecutableInPackageTest, ::testing::Bool());

// The tool is never copied, so a package of nothing else would let a reinstall empty the client.
TEST_F(VerifyRepairTest, APackageOfTheToolAloneHoldsNoClientFiles) {
  InPackage("Fettle.exe", "packaged tool");
  test::WriteFile(client_ / "save.dat", "the player's save");
  EXPECT_FALSE(Run(true));
  EXPECT_EQ(Status().failureText, L"The package holds no client files.");
  EXPECT_EQ(test::ReadFile(client_ / "save.dat"), "the player's save");
}

#ifdef _WIN32
// On Windows "FETTLE.EXE" is the same file as the running tool.
TEST_F(VerifyRepairTest, TheToolIsProtectedWhateverTheCaseOfItsNameInThePackage) {
  Both("game.exe", "binary");
  InPackage("FETTLE.EXE", "packaged tool");
  ASSERT_TRUE(Run(false)) << Status().failureText;
  EXPECT_EQ(test::ReadFile(tool_), "running tool");
  EXPECT_EQ(Status().filesChanged, 0u);
}
#endif

TEST_F(VerifyRepairTest, AFolderWhereThePackageHasAFileFailsTheJob) {
  Both("game.exe", "binary");
  InPackage("data/x.pak", "xxxx");
  test::WriteFile(client_ / "data/x.pak/inside.txt", "in the way");

  EXPECT_FALSE(Run(false));
  const StatusSnapshot status = Status();
  EXPECT_EQ(status.stage, JobStage::Failed);
  EXPECT_EQ(status.failureText,
            L"Could not repair this file: " + (fs::path("data") / "x.pak").wstring());
  EXPECT_TRUE(f_.status.IsFailed());
}

TEST_F(VerifyRepairTest, AStopBeforeThePassCopiesNothingAndReportsNothing) {
  InPackage("game.exe", "binary");
  InPackage("data/a.pak", "aaaa");
  f_.status.RequestStop();

  EXPECT_FALSE(Run(false));
  EXPECT_EQ(test::Tree(client_), (std::set<std::string>{"Fettle.exe"}));
  EXPECT_TRUE(Status().failureText.empty());
  EXPECT_FALSE(f_.status.IsFailed());
}

// An archive may carry links; following one would write wherever it points.
TEST_F(VerifyRepairTest, LinksInThePackageAreNeverCopiedNorEntered) {
  Both("game.exe", "binary");
  test::WriteFile(dir_ / "outside/secret.txt", "secret");
  test::WriteFile(dir_ / "outside/folder/deep.txt", "deep");
  std::error_code error;
  test::MakeLink(dir_ / "outside/folder", package_ / "folder.lnk", error);
  if (error) GTEST_SKIP() << "no folder links here: " << error.message();
#ifndef _WIN32
  // Wine shows a file link as the plain file it names; on Windows it is a reparse point.
  fs::create_symlink(dir_ / "outside/secret.txt", package_ / "secret.lnk");
#endif

  ASSERT_TRUE(Run(false)) << Status().failureText;
  EXPECT_EQ(test::Tree(client_), (std::set<std::string>{"Fettle.exe", "game.exe"}));
  EXPECT_EQ(test::ReadFile(dir_ / "outside/secret.txt"), "secret");
  EXPECT_EQ(Status().filesTotal, 1u);
  EXPECT_EQ(Status().filesChanged, 0u);
}

// Mod managers stage files as hard links into their own store; the repair must not reach it.
TEST_F(VerifyRepairTest, AHardLinkedClientFileThatDiffersIsReplacedNotWrittenThrough) {
  InPackage("data/mod.pak", "package bytes");
  test::WriteFile(dir_ / "store/mod.pak", "the mod's bytes");
  fs::create_directories(client_ / "data");
  fs::create_hard_link(dir_ / "store/mod.pak", client_ / "data/mod.pak");

  ASSERT_TRUE(Run(false)) << Status().failureText;
  EXPECT_EQ(test::ReadFile(client_ / "data/mod.pak"), "package bytes");
  EXPECT_EQ(test::ReadFile(dir_ / "store/mod.pak"), "the mod's bytes");
  EXPECT_EQ(Status().filesChanged, 1u);
}

#ifndef _WIN32
// Wine shows a file link as a plain file, so this case is the host's alone.
TEST_F(VerifyRepairTest, AClientFileLinkIsReplacedWhenItDiffersAndKeptWhenClean) {
  InPackage("differs.txt", "package bytes");
  InPackage("clean.txt", "same");
  test::WriteFile(dir_ / "elsewhere/differs.txt", "outside bytes");
  test::WriteFile(dir_ / "elsewhere/clean.txt", "same");
  std::error_code error;
  fs::create_symlink(dir_ / "elsewhere/differs.txt", client_ / "differs.txt", error);
  if (error) GTEST_SKIP() << "no file links here: " << error.message();
  fs::create_symlink(dir_ / "elsewhere/clean.txt", client_ / "clean.txt");

  ASSERT_TRUE(Run(false)) << Status().failureText;
  EXPECT_FALSE(fs::is_symlink(client_ / "differs.txt"));
  EXPECT_EQ(test::ReadFile(client_ / "differs.txt"), "package bytes");
  EXPECT_EQ(test::ReadFile(dir_ / "elsewhere/differs.txt"), "outside bytes");
  EXPECT_TRUE(fs::is_symlink(client_ / "clean.txt"));
  EXPECT_EQ(Status().filesChanged, 1u);
}

#endif

// The plain Win32 layer stops at 260 characters; a package nested deeper is still repaired.
TEST_F(VerifyRepairTest, APackagePathPast300CharactersIsRepaired) {
  fs::path relative;
  for (int i = 0; i < 8; ++i) relative /= std::string(40, 'n') + std::to_string(i);
  relative /= "deep.txt";
  const std::string bytes = "deep";
  std::error_code error;
  ASSERT_TRUE(platform::CreateFolders((package_ / relative).parent_path(), error));
  ASSERT_TRUE(platform::WriteFileWhole(
      package_ / relative, std::as_bytes(std::span(bytes.data(), bytes.size())), error));
  ASSERT_GT(platform::PathToWide(client_ / relative).size(), 300u);

  ASSERT_TRUE(Run(false)) << Status().failureText;
  EXPECT_EQ(Status().filesChanged, 1u);
  platform::InputFile copied;
  ASSERT_TRUE(copied.Open(client_ / relative));
  std::string got(16, '\0');
  std::size_t size = 0;
  ASSERT_TRUE(copied.Read(reinterpret_cast<std::byte*>(got.data()), got.size(), size));
  EXPECT_EQ(got.substr(0, size), bytes);
}

class FilesMatchTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  fs::path extracted_ = dir_ / "extracted.bin";
  fs::path client_ = dir_ / "client.bin";
};

TEST_F(FilesMatchTest, OnlyARegularFileWithTheSameBytesMatches) {
  test::WriteFile(extracted_, "content");
  EXPECT_FALSE(FilesMatch(extracted_, client_));
  fs::create_directories(client_);
  EXPECT_FALSE(FilesMatch(extracted_, client_));
  fs::remove(client_);
  test::WriteFile(client_, "content");
  EXPECT_TRUE(FilesMatch(extracted_, client_));
  test::WriteFile(client_, "Content");
  EXPECT_FALSE(FilesMatch(extracted_, client_));
  test::WriteFile(client_, "content ");
  EXPECT_FALSE(FilesMatch(extracted_, client_));
}

TEST_F(FilesMatchTest, ComparesPastTheFirstReadChunk) {
  std::string bytes((1 << 20) + 17, 'p');
  test::WriteFile(extracted_, bytes);
  test::WriteFile(client_, bytes);
  EXPECT_TRUE(FilesMatch(extracted_, client_));
  bytes.back() = 'q';
  test::WriteFile(client_, bytes);
  EXPECT_FALSE(FilesMatch(extracted_, client_));
}

// The buffers outlive each call: bytes left from an earlier pair must not decide a later one.
TEST_F(FilesMatchTest, AReusedComparerJudgesEachPairOnItsOwn) {
  FileComparer comparer;
  std::string big((1 << 20) + 5, 'a');
  test::WriteFile(extracted_, big);
  big.back() = 'b';
  test::WriteFile(client_, big);
  EXPECT_FALSE(comparer.Match(extracted_, client_));

  test::WriteFile(dir_ / "small-a", "tiny");
  test::WriteFile(dir_ / "small-b", "tiny");
  EXPECT_TRUE(comparer.Match(dir_ / "small-a", dir_ / "small-b"));
  test::WriteFile(dir_ / "small-b", "tint");
  EXPECT_FALSE(comparer.Match(dir_ / "small-a", dir_ / "small-b"));
}

}  // namespace
