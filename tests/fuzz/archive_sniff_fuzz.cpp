// Archive sniffing on any bytes: the file and the byte forms agree, only the first eight bytes
// count, and a kind is claimed only behind its signature's fixed bytes.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "repair/acquire/archive_kind.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/layers.h"

namespace {

std::filesystem::path ScratchFile() {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) folder = ".";
  return folder / ("parcelwright-sniff-fuzz-" + std::to_string(getpid()));
}

const wchar_t* Name(ArchiveKind kind) {
  return kind == ArchiveKind::Zip ? L"zip" : kind == ArchiveKind::Rar ? L"rar" : L"none";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto bytes = std::as_bytes(std::span(data, size));
  const ArchiveKind kind = SniffArchive(bytes);

  if (SniffArchive(bytes.first(std::min<std::size_t>(size, 8))) != kind) {
    fuzz::Fail("only the first eight bytes count", {{"kind", Name(kind)}});
  }
  const std::string_view text = fuzz::AsText(data, size);
  if ((kind == ArchiveKind::Zip && (size < 4 || !text.starts_with("PK"))) ||
      (kind == ArchiveKind::Rar && (size < 7 || !text.starts_with("Rar!\x1A\x07")))) {
    fuzz::Fail("a kind is claimed only behind its signature", {{"kind", Name(kind)}});
  }

  static const std::filesystem::path scratch = ScratchFile();
  {
    std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) return 0;  // no room to compare: the other properties still held
  }
  const ArchiveKind fromFile = SniffArchive(scratch);
  std::error_code ignored;
  std::filesystem::remove(scratch, ignored);
  if (fromFile != kind) {
    fuzz::Fail("the file and the bytes sniff alike",
               {{"file", Name(fromFile)}, {"bytes", Name(kind)}});
  }
  return 0;
}
