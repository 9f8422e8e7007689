#include "repair/acquire/extraction.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "platform/text.h"
#include "rules/powershell_quote.h"
#include "standins.h"
#include "test_support.h"
#include "tests/layers.h"

namespace fs = std::filesystem;

namespace {

std::wstring W(const fs::path& path) {
  return platform::PathToWide(path);
}
std::string Utf8(const fs::path& path) {
  return platform::WideToUtf8(W(path));
}

const wchar_t kZipFailed[] =
    L"ZIP extraction failed.\nCheck that the downloaded package is a complete .zip archive and "
    L"that you have permission to write to the install folder.";

class ExtractionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(game_);
    f_.context.exePath = game_ / "Fettle.exe";
    f_.context.clientFolder = game_;
  }

  // Copies a fixture package to a path with an apostrophe and a typographic quote, so quoting
  // is exercised on every run.
  fs::path Package(const std::string& file) {
    const fs::path copy = dir_ / fs::u8path("O'Brien\xE2\x80\x99s downloads") / file;
    fs::create_directories(copy.parent_path());
    fs::copy_file(test::FixturePackage(file), copy, fs::copy_options::overwrite_existing);
    return copy;
  }

  bool Extract(const fs::path& archive) { return ExtractPackage(f_.job, archive, out_); }
  std::wstring Failure() const { return f_.status.SnapshotStatus().failureText; }

  // The tool names and command lines the stand-ins received, in order.
  std::vector<std::pair<std::string, std::string>> Starts() const {
    std::vector<std::pair<std::string, std::string>> starts;
    for (const std::string& line : test::StandinLog(log_)) {
      const auto tab = line.find('\t');
      starts.emplace_back(line.substr(0, tab),
                          tab == std::string::npos ? "" : line.substr(tab + 1));
    }
    return starts;
  }

  test::TempDir dir_;
  fs::path bin_ = dir_ / "bin";
  fs::path game_ = dir_ / "game";
  fs::path out_ = dir_ / fs::u8path("extract \xE2\x80\x98O'Neil\xE2\x80\x99");
  fs::path log_ = dir_ / "standins.log";
  test::JobFixture f_;
  test::ScopedEnv path_{"PATH", test::PathWithFirst(bin_)};
  test::ScopedEnv logEnv_{"PARCELWRIGHT_STANDIN_LOG", Utf8(log_)};
};

TEST_F(ExtractionTest, ZipGoesToTarAndASingleTopFolderIsFlattened) {
  test::InstallStandins(bin_, {"tar.exe", "powershell.exe"});
  const fs::path archive = Package("single-top.zip");
  ASSERT_TRUE(Extract(archive)) << Failure().size();
  EXPECT_TRUE(fs::is_regular_file(out_ / "game.exe"));
  EXPECT_TRUE(fs::is_regular_file(out_ / "data" / "sub" / "b.pak"));
  EXPECT_TRUE(fs::is_directory(out_ / "emptydir"));
  EXPECT_FALSE(fs::exists(out_ / "Client"));
  const auto starts = Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].first, "tar.exe");
  EXPECT_TRUE(test::SameCommandLine(starts[0].second,
                                    L"tar.exe -xf \"" + W(archive) + L"\" -C \"" + W(out_) + L"\""))
      << starts[0].second;
  EXPECT_FALSE(f_.status.ToolProcess());
  EXPECT_EQ(f_.status.SnapshotStatus().detailLine, L"Moving client files into place...");
}

TEST_F(ExtractionTest, PowerShellTakesOverWhenTarFailsAndGetsEscapedLiterals) {
  test::InstallStandins(bin_, {"tar.exe", "powershell.exe"});
  test::ScopedEnv tarFails("PARCELWRIGHT_STANDIN_EXIT_TAR", "2");
  const fs::path archive = Package("flat.zip");
  ASSERT_TRUE(Extract(archive));
  EXPECT_TRUE(fs::is_regular_file(out_ / "data" / "a.pak"));
  const auto starts = Starts();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[1].first, "powershell.exe");
  EXPECT_TRUE(test::SameCommandLine(starts[1].second,
                                    L"powershell.exe -NoProfile -ExecutionPolicy Bypass -Command "
                                    L"\"Expand-Archive -LiteralPath " +
                                        QuotePowerShellLiteral(W(archive)) + L" -DestinationPath " +
                                        QuotePowerShellLiteral(W(out_)) + L" -Force\""))
      << starts[1].second;
}

TEST_F(ExtractionTest, ZipWithoutTarUsesPowerShell) {
  test::InstallStandins(bin_, {"powershell.exe"});
  const test::NoSystemTar noTar;
  ASSERT_TRUE(Extract(Package("flat.zip")));
  EXPECT_TRUE(fs::is_regular_file(out_ / "readme.txt"));
}

TEST_F(ExtractionTest, ZipRejectedByBothFails) {
  test::InstallStandins(bin_, {"tar.exe", "powershell.exe"});
  test::ScopedEnv tarFails("PARCELWRIGHT_STANDIN_EXIT_TAR", "1");
  test::ScopedEnv powershellFails("PARCELWRIGHT_STANDIN_EXIT_POWERSHELL", "1");
  EXPECT_FALSE(Extract(Package("flat.zip")));
  EXPECT_EQ(Failure(), kZipFailed);
}

TEST_F(ExtractionTest, NotAnArchiveIsRefusedBeforeAnyToolRuns) {
  test::InstallStandins(bin_, {"tar.exe"});
  test::WriteFile(dir_ / "page.zip", "<!DOCTYPE html><html><body>Sign in</body></html>");
  EXPECT_FALSE(Extract(dir_ / "page.zip"));
  EXPECT_EQ(Failure(),
            L"The downloaded package is not a valid ZIP or RAR archive.\nCheck that the CDN URL "
            L"points directly to the client .zip/.rar file, not an installer EXE or website page.");
  EXPECT_TRUE(Starts().empty());
}

TEST_F(ExtractionTest, RarTriesUnrarBesideTheToolThenSevenZip) {
  test::InstallStandins(game_, {"unrar.exe"});
  test::InstallStandins(bin_, {"7z.exe"});
  test::ScopedEnv unrarFails("PARCELWRIGHT_STANDIN_EXIT_UNRAR", "3");
  const fs::path archive = Package("rar-fixture.rar");
  ASSERT_TRUE(Extract(archive)) << Failure().size();
  EXPECT_TRUE(fs::is_regular_file(out_ / "patcher.exe"));
  const auto starts = Starts();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0].first, "unrar.exe");
  const std::wstring separator(1, fs::path::preferred_separator);
  EXPECT_TRUE(test::SameCommandLine(starts[0].second, L"\"" + W(game_ / "unrar.exe") +
                                                          L"\" x -o+ \"" + W(archive) + L"\" \"" +
                                                          W(out_) + separator + L"\""))
      << starts[0].second;
  EXPECT_EQ(starts[1].first, "7z.exe");
}

TEST_F(ExtractionTest, RarFailureNamesTheLastExtractorAndItsCode) {
  test::InstallStandins(game_, {"unrar.exe"});
  test::InstallStandins(bin_, {"7z.exe"});
  test::ScopedEnv unrarFails("PARCELWRIGHT_STANDIN_EXIT_UNRAR", "3");
  test::ScopedEnv sevenFails("PARCELWRIGHT_STANDIN_EXIT_7Z", "2");
  EXPECT_FALSE(Extract(Package("rar-fixture.rar")));
  EXPECT_EQ(Failure(),
            L"RAR extraction failed with 7z.exe exit code 2.\nCheck that the CDN file is a "
            L"complete, non-password-protected .rar archive. If it still fails, install 7-Zip or "
            L"place 7z.exe beside this tool.");
}

TEST_F(ExtractionTest, AnExtractorThatCannotStartReportsMinusOne) {
  test::WriteFile(bin_ / "7z.exe", "not a program");
  EXPECT_FALSE(Extract(Package("rar-fixture.rar")));
  EXPECT_NE(Failure().find(L"with 7z.exe exit code 4294967295."), std::wstring::npos);
}

TEST_F(ExtractionTest, RarWithoutExtractorsAsksForOne) {
  EXPECT_FALSE(Extract(Package("rar-fixture.rar")));
  EXPECT_EQ(Failure(),
            L"RAR repair needs WinRAR, UnRAR, or 7-Zip. Install one of them or place "
            L"unrar.exe/7z.exe beside this tool.");
}

// A stop kills the running extractor within a wait slice; the remaining try is started and
// killed the same way, and the job ends through the ordinary extraction failure.
TEST_F(ExtractionTest, AStopKillsTheRunningExtractorAndTheRemainingTries) {
  test::InstallStandins(bin_, {"tar.exe", "powershell.exe"});
  test::ScopedEnv slow("PARCELWRIGHT_STANDIN_SLEEP_MS", "20000");
  f_.status.BeginJobStatus(JobMode::Repair);
  std::atomic<bool> extracting{true};
  // A new start shows as a new process, or as a publication after a gap: Windows may give the
  // next process the same handle value, and Linux may republish before a poll sees the gap.
  int published = 0;
  std::thread closer([&] {
    platform::ProcessRef last;
    while (extracting) {
      const platform::ProcessRef process = f_.status.ToolProcess();
      if (process && process != last) {
        ++published;
        f_.status.RequestStop();
      }
      last = process;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Extract(Package("flat.zip")));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  extracting = false;
  closer.join();
  EXPECT_LT(elapsed, std::chrono::seconds(5));
  EXPECT_EQ(published, 2);  // tar, then PowerShell, each killed at its first slice
  EXPECT_EQ(Failure(), kZipFailed);
  EXPECT_FALSE(f_.status.ToolProcess());
}

// The window's close path terminates the published extractor under the status lock.
TEST_F(ExtractionTest, TheWindowCanTerminateThePublishedExtractor) {
  test::InstallStandins(bin_, {"tar.exe", "powershell.exe"});
  test::ScopedEnv slow("PARCELWRIGHT_STANDIN_SLEEP_MS", "20000");
  // As the close path does it: the stop first, then the running extractor ended under the lock.
  std::thread closer([&] {
    while (!f_.status.ToolProcess()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    f_.status.RequestStop();
    f_.status.TerminateToolProcess(1);
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Extract(Package("flat.zip")));
  closer.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
  EXPECT_EQ(Failure(), kZipFailed);
}

// An extractor that reads its input until it ends (one asking for a package's password) meets
// the end at once: its input is the NUL device, never the job's own.
TEST_F(ExtractionTest, AnExtractorReadingItsInputMeetsItsEndAtOnce) {
  test::InstallStandins(bin_, {"tar.exe"});
  test::ScopedEnv readsInput("PARCELWRIGHT_STANDIN_READ_INPUT", "1");
#ifndef _WIN32
  // The test's own input made a pipe that never ends, as a player's console would be.
  int never[2];
  ASSERT_EQ(pipe(never), 0);
  const int savedInput = dup(0);
  dup2(never[0], 0);
#endif
  f_.status.BeginJobStatus(JobMode::Repair);
  std::atomic<bool> done{false};
  std::thread guard([&] {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!done && std::chrono::steady_clock::now() < limit) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!done) f_.status.RequestStop();  // a stand-in still waiting for input
  });
  const bool extracted = Extract(Package("flat.zip"));
  done = true;
  guard.join();
#ifndef _WIN32
  dup2(savedInput, 0);
  close(savedInput);
  close(never[0]);
  close(never[1]);
#endif
  EXPECT_TRUE(extracted);
  EXPECT_TRUE(fs::is_regular_file(out_ / "readme.txt"));
}

// Another program's entry at the folder's name is never extracted into or removed: the next
// free numbered name is made and handed back.
TEST_F(ExtractionTest, WhatStandsAtTheFolderNameIsLeftAloneAndTheNextFreeNameIsUsed) {
  test::InstallStandins(bin_, {"tar.exe"});
  const fs::path name = out_;
  test::WriteFile(name, "another program's file");
  ASSERT_TRUE(Extract(Package("flat.zip")));
  EXPECT_EQ(test::ReadFile(name), "another program's file");
  EXPECT_EQ(out_, fs::path(name) += "_2");
  EXPECT_TRUE(fs::is_regular_file(out_ / "readme.txt"));
}

}  // namespace
