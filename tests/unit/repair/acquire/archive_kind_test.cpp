#include "repair/acquire/archive_kind.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "test_support.h"
#include "tests/layers.h"

namespace {

TEST(ResolveArchiveKind, ConfiguredTypeWins) {
  test::JobFixture f;
  f.profile.archiveUrl = L"https://cdn.example/client.rar";
  for (const wchar_t* type : {L"zip", L" ZIP ", L"7z", L"tar"}) {
    f.profile.archiveType = type;
    EXPECT_EQ(ResolveArchiveKind(f.job, L""), L"zip") << type;
  }
  f.profile.archiveType = L"RaR\t";
  f.profile.archiveUrl = L"https://cdn.example/client.zip";
  EXPECT_EQ(ResolveArchiveKind(f.job, L""), L"rar");
}

TEST(ResolveArchiveKind, AutoLooksAtTheUrlThenJobUrlThenArchiveUrl) {
  test::JobFixture f;
  f.profile.archiveType = L"auto";
  f.profile.archiveUrl = L"https://cdn.example/client.zip";
  EXPECT_EQ(ResolveArchiveKind(f.job, L"https://cdn.example/CLIENT.RAR"), L"rar");
  f.context.jobUrl = L"  https://mirror.example/pack.rar?token=1  ";
  EXPECT_EQ(ResolveArchiveKind(f.job, L""), L"rar");
  f.context.jobUrl = L"   ";
  EXPECT_EQ(ResolveArchiveKind(f.job, L""), L"zip");
  f.profile.archiveUrl = L"https://cdn.example/pack.rar.zip";
  EXPECT_EQ(ResolveArchiveKind(f.job, L""), L"rar");
  f.profile.archiveType = L"";
  f.profile.archiveUrl = L"";
  EXPECT_EQ(ResolveArchiveKind(f.job, L""), L"zip");
}

ArchiveKind SniffBytes(const std::string& bytes) {
  test::TempDir dir;
  test::WriteFile(dir / "package", bytes);
  const ArchiveKind kind = SniffArchive(dir / "package");
  EXPECT_EQ(SniffArchive(std::as_bytes(std::span(bytes.data(), bytes.size()))), kind);
  return kind;
}

TEST(SniffArchive, RecognisesZipAndRarSignatures) {
  EXPECT_EQ(SniffBytes(std::string("PK\x03\x04rest", 8)), ArchiveKind::Zip);
  EXPECT_EQ(SniffBytes(std::string("PK\x05\x06", 4)), ArchiveKind::Zip);
  EXPECT_EQ(SniffBytes(std::string("PK\x03\x06", 4)), ArchiveKind::Zip);
  EXPECT_EQ(SniffBytes(std::string("PK\x07\x04", 4)), ArchiveKind::Zip);
  EXPECT_EQ(SniffBytes(std::string("Rar!\x1A\x07\x00", 7)), ArchiveKind::Rar);
  EXPECT_EQ(SniffBytes(std::string("Rar!\x1A\x07\x01\x00", 8)), ArchiveKind::Rar);
}

TEST(SniffArchive, RejectsEverythingElse) {
  EXPECT_EQ(SniffBytes(std::string("PK\x03", 3)), ArchiveKind::None);
  EXPECT_EQ(SniffBytes(std::string("PK\x01\x02", 4)), ArchiveKind::None);
  EXPECT_EQ(SniffBytes(std::string("Rar!\x1A\x07\x02", 7)), ArchiveKind::None);
  EXPECT_EQ(SniffBytes("<!DOCTYPE html><html>"), ArchiveKind::None);
  EXPECT_EQ(SniffBytes("MZ\x90"), ArchiveKind::None);
  EXPECT_EQ(SniffBytes(""), ArchiveKind::None);
  test::TempDir dir;
  EXPECT_EQ(SniffArchive(dir / "missing.zip"), ArchiveKind::None);
}

}  // namespace
