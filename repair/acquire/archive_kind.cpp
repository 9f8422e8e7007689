#include "repair/acquire/archive_kind.h"

#include <array>

#include "platform/file_system.h"
#include "profile/fallbacks.h"
#include "profile/trim.h"

namespace repair {

std::wstring ResolveArchiveKind(const Job& job, std::wstring_view url) {
  const std::wstring type = profile::Lowered(profile::TrimWhitespace(job.profile.archiveType));
  if (!type.empty() && type != L"auto") return type == L"rar" ? L"rar" : L"zip";
  const std::wstring source =
      url.empty() ? profile::ChooseJobUrl(job.context.jobUrl, job.profile) : std::wstring(url);
  return profile::Lowered(source).find(L".rar") != std::wstring::npos ? L"rar" : L"zip";
}

ArchiveKind SniffArchive(const std::filesystem::path& file) {
  platform::InputFile in;
  if (!in.Open(file)) return ArchiveKind::None;
  std::array<std::byte, 8> head = {};
  std::size_t got = 0;
  while (got < head.size()) {
    std::size_t part = 0;
    if (!in.Read(head.data() + got, head.size() - got, part) || part == 0) break;
    got += part;
  }
  return SniffArchive(std::span<const std::byte>(head.data(), got));
}

ArchiveKind SniffArchive(std::span<const std::byte> head) {
  const auto b = [&head](std::size_t i) { return std::to_integer<unsigned>(head[i]); };
  const std::size_t n = head.size();
  // The last two zip bytes are tested independently: all nine combinations count.
  if (n >= 4 && b(0) == 0x50 && b(1) == 0x4B && (b(2) == 0x03 || b(2) == 0x05 || b(2) == 0x07) &&
      (b(3) == 0x04 || b(3) == 0x06 || b(3) == 0x08)) {
    return ArchiveKind::Zip;
  }
  if (n >= 7 && b(0) == 0x52 && b(1) == 0x61 && b(2) == 0x72 && b(3) == 0x21 && b(4) == 0x1A &&
      b(5) == 0x07 && (b(6) == 0x00 || b(6) == 0x01)) {
    return ArchiveKind::Rar;
  }
  return ArchiveKind::None;
}

}  // namespace repair
