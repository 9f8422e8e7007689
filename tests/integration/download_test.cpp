#include "repair/acquire/download.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "server.h"
#include "test_support.h"
#include "tests/layers.h"

namespace fs = std::filesystem;

namespace {

std::string Payload(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
  return bytes;
}

class DownloadTest : public ::testing::Test {
 protected:
  // Downloads to the name `file_`; `made_` then names the file really made.
  bool Download(const std::wstring& url) {
    made_ = file_;
    return DownloadPackage(f_.job, url, made_);
  }
  std::wstring Failure() const { return f_.status.SnapshotStatus().failureText; }

  test::PackageServer server_;
  test::TempDir dir_;
  fs::path file_ = dir_ / "package.zip";
  fs::path made_;
  test::JobFixture f_;
};

TEST_F(DownloadTest, WritesTheWholeBodyAndPublishesItsSize) {
  const std::string bytes = Payload(3 << 20);
  server_.Publish("client.zip", bytes);
  ASSERT_TRUE(Download(server_.Url("/client.zip"))) << Failure().size();
  EXPECT_TRUE(test::ReadFile(made_) == bytes);
  const StatusSnapshot snapshot = f_.status.SnapshotStatus();
  EXPECT_EQ(snapshot.stage, JobStage::Downloading);
  EXPECT_EQ(snapshot.statusLine, L"Downloading client package...");
  EXPECT_EQ(snapshot.detailLine, L"");
  EXPECT_EQ(snapshot.bytesTotal, static_cast<std::int64_t>(bytes.size()));
  EXPECT_EQ(snapshot.bytesDone, static_cast<std::int64_t>(bytes.size()));
  EXPECT_EQ(snapshot.bytesPerSecond, 0.0);
  EXPECT_NE(server_.RequestLog().find("VlmQuorvinRepair/1.0"), std::string::npos);
}

TEST_F(DownloadTest, AnswersWithoutLengthOrWithOther2xxCodesSucceed) {
  server_.Publish("small.zip", "PK\x03\x04 small");
  ASSERT_TRUE(Download(server_.Url("/nolength/small.zip")));
  EXPECT_EQ(test::ReadFile(made_), "PK\x03\x04 small");
  EXPECT_EQ(f_.status.SnapshotStatus().bytesTotal, 0);
  ASSERT_TRUE(Download(server_.Url("/status/206/small.zip")));
  EXPECT_EQ(test::ReadFile(made_), "PK\x03\x04 small");
  ASSERT_TRUE(Download(server_.Url("/status/204")));
  EXPECT_EQ(fs::file_size(made_), 0u);
}

TEST_F(DownloadTest, FollowsRedirectsAndSendsPathSpacesAndQuery) {
  server_.Publish("Velmora Client 2.zip", "PK\x03\x04 spaced");
  ASSERT_TRUE(Download(server_.Url("/redirect/3/Velmora Client 2.zip?token=a1&x=2")));
  EXPECT_EQ(test::ReadFile(made_), "PK\x03\x04 spaced");
  const std::string log = server_.RequestLog();
  EXPECT_NE(log.find("/redirect/3/Velmora%20Client%202.zip?token=a1&x=2"), std::string::npos);
}

TEST_F(DownloadTest, ErrorStatusesFailWithTheCode) {
  EXPECT_FALSE(Download(server_.Url("/status/404")));
  EXPECT_EQ(Failure(), L"The server returned HTTP 404.");
  EXPECT_EQ(f_.status.SnapshotStatus().statusLine, L"Repair failed.");
  EXPECT_FALSE(Download(server_.Url("/status/500")));
  EXPECT_EQ(Failure(), L"The server returned HTTP 500.");
  EXPECT_FALSE(fs::exists(file_));
}

// libcurl hands the unfollowable 302 back; Wine's WinHTTP fails the receive instead. Either way
// the job fails before a file exists.
TEST_F(DownloadTest, ARedirectWithoutLocationFails) {
  EXPECT_FALSE(Download(server_.Url("/nolocation")));
  const std::wstring failure = Failure();
  EXPECT_TRUE(failure == L"The server returned HTTP 302." ||
              failure == L"The server did not respond to the download request.");
  EXPECT_FALSE(fs::exists(file_));
}

TEST_F(DownloadTest, ABodyCutShortIsNotAPackage) {
  server_.Publish("cut.zip", Payload(1 << 20));
  EXPECT_FALSE(Download(server_.Url("/truncate/cut.zip")));
  EXPECT_EQ(Failure(), L"The download stopped unexpectedly.");
}

TEST_F(DownloadTest, BadUrlsAndUnreachableHosts) {
  for (const std::wstring& url : {std::wstring(L"ftp://127.0.0.1/a.zip"), std::wstring(L"http://"),
                                  L"http://" + std::wstring(600, L'h') + L".example/a.zip",
                                  L"http://127.0.0.1/" + std::wstring(5000, L'p')}) {
    f_.status.ResetStatus();
    EXPECT_FALSE(Download(url));
    EXPECT_EQ(Failure(), L"The package URL is not valid.");
  }
  // Port 9 (discard) has no listener here: the connection is refused.
  EXPECT_FALSE(Download(L"http://127.0.0.1:9/client.zip"));
  EXPECT_EQ(Failure(), L"The server did not respond to the download request.");
  EXPECT_FALSE(Download(server_.Url("/loop")));
  EXPECT_EQ(Failure(), L"The server did not respond to the download request.");
}

TEST_F(DownloadTest, AFileThatCannotBeCreatedFails) {
  server_.Publish("small.zip", "PK\x03\x04");
  file_ = dir_ / "no-such-dir" / "p.zip";
  EXPECT_FALSE(Download(server_.Url("/small.zip")));
  EXPECT_EQ(Failure(), L"Could not create the temporary download file.");
  EXPECT_EQ(made_, fs::path());
}

// Another program's file at the name, and a link at the next one, are never opened: the
// download takes the next free numbered name and says so.
TEST_F(DownloadTest, WhatStandsAtTheNameIsLeftAloneAndTheNextFreeNameIsUsed) {
  server_.Publish("small.zip", "PK\x03\x04 fresh");
  test::WriteFile(file_, "another program's file");
  std::error_code linkError;
  fs::create_symlink(dir_ / "link-target.zip", dir_ / "package_2.zip", linkError);
  ASSERT_TRUE(Download(server_.Url("/small.zip")));
  EXPECT_EQ(test::ReadFile(file_), "another program's file");
  EXPECT_FALSE(fs::exists(dir_ / "link-target.zip"));
  EXPECT_EQ(made_, dir_ / (linkError ? "package_2.zip" : "package_3.zip"));
  EXPECT_EQ(test::ReadFile(made_), "PK\x03\x04 fresh");
}

TEST_F(DownloadTest, AStopBeforeTheFirstChunkDeletesTheFileSilently) {
  server_.Publish("small.zip", "PK\x03\x04");
  f_.status.BeginJobStatus(JobMode::Repair);
  f_.status.RequestStop();
  EXPECT_FALSE(Download(server_.Url("/small.zip")));
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_EQ(made_, fs::path());
  EXPECT_EQ(Failure(), L"");
  EXPECT_TRUE(f_.status.IsRunning());
}

TEST_F(DownloadTest, PublishesAWindowedSpeedAndStopsMidTransfer) {
  server_.Publish("slow.zip", Payload(4 << 20));
  f_.status.BeginJobStatus(JobMode::Repair);
  std::atomic<bool> sawProgress{false};
  std::thread watcher([&] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      const StatusSnapshot snapshot = f_.status.SnapshotStatus();
      if (snapshot.bytesDone > 0 && snapshot.bytesPerSecond > 0.0) {
        sawProgress = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    f_.status.RequestStop();
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Download(server_.Url("/slow/slow.zip?chunk=65536&delay_ms=100")));
  watcher.join();
  EXPECT_TRUE(sawProgress);
  // 64 chunks at 100 ms would take over 6 s; the stop ends it after about one chunk.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_EQ(Failure(), L"");
  EXPECT_EQ(f_.status.SnapshotStatus().bytesPerSecond, 0.0);
}

// The server sends its headers and a little, then nothing for two minutes: the network's own
// timeouts are far away, yet the stop must end the download at once.
TEST_F(DownloadTest, AStalledServerCannotHoldAStop) {
  server_.Publish("stalled.zip", Payload(1 << 20));
  f_.status.BeginJobStatus(JobMode::Repair);
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    f_.status.RequestStop();
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Download(server_.Url("/stall/stalled.zip")));
  const auto took = std::chrono::steady_clock::now() - start;
  stopper.join();
  EXPECT_LT(took, std::chrono::seconds(3));
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_EQ(Failure(), L"");
}

}  // namespace
