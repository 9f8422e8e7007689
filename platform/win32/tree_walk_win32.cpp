#include "platform/tree_walk.h"

#include <string>

#include "platform/win32/file_time_win32.h"
#include "platform/win32/handles.h"
#include "platform/win32/long_path.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

std::error_code Error(DWORD code) {
  return std::error_code(static_cast<int>(code), std::system_category());
}

// Reparse points that stand for the very file or folder they replace (cloud placeholders,
// deduplicated, compressed or archived files) rather than naming another one. Every other tag,
// and 0 (all Wine reports), makes a link.
bool StandsForItself(DWORD tag) {
  constexpr DWORD kCloudFamilyMask = 0xFFFF0FFF;
  constexpr DWORD kCloud = 0x9000001A;
  switch (tag) {
    case 0x80000013:  // IO_REPARSE_TAG_DEDUP
    case 0x80000017:  // IO_REPARSE_TAG_WOF
    case 0xC0000004:  // IO_REPARSE_TAG_HSM
    case 0x80000006:  // IO_REPARSE_TAG_HSM2
    case 0x80000007:  // IO_REPARSE_TAG_SIS
    case 0x80000021:  // IO_REPARSE_TAG_ONEDRIVE
      return true;
    default: return (tag & kCloudFamilyMask) == kCloud;
  }
}

void Describe(const WIN32_FIND_DATAW& data, const fs::path& parent, TreeEntry& entry) {
  entry.name = data.cFileName;
  entry.relative = parent / fs::path(entry.name);
  entry.attributes = data.dwFileAttributes;
  entry.size = 0;
  entry.lastWriteTime = win32::ToFileTime(data.ftLastWriteTime);
  const DWORD a = data.dwFileAttributes;
  if ((a & FILE_ATTRIBUTE_REPARSE_POINT) && !StandsForItself(data.dwReserved0)) {
    entry.kind = TreeEntry::Kind::Link;
  } else if (a & FILE_ATTRIBUTE_DIRECTORY) {
    entry.kind = TreeEntry::Kind::Folder;
  } else if (a & FILE_ATTRIBUTE_DEVICE) {
    entry.kind = TreeEntry::Kind::Other;
  } else {
    entry.kind = TreeEntry::Kind::File;
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
}

// Lists the folder at `longPath` (\\?\ form), handing each entry to `each` until it returns
// false. A folder that is gone or may not be opened lists nothing; false with `error` when the
// listing fails otherwise.
template <typename Each>
bool ForEachEntry(const std::wstring& longPath, const fs::path& relative, Each each,
                  std::error_code& error) {
  WIN32_FIND_DATAW data;
  win32::UniqueFind find(FindFirstFileExW((longPath + L"\\*").c_str(), FindExInfoBasic, &data,
                                          FindExSearchNameMatch, nullptr,
                                          FIND_FIRST_EX_LARGE_FETCH));
  if (!find) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
        code == ERROR_ACCESS_DENIED || code == ERROR_DIRECTORY) {
      return true;
    }
    error = Error(code);
    return false;
  }
  TreeEntry entry;
  do {
    const wchar_t* name = data.cFileName;
    if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
    Describe(data, relative, entry);
    if (!each(entry)) return true;
  } while (FindNextFileW(find.get(), &data));
  const DWORD code = GetLastError();
  if (code == ERROR_NO_MORE_FILES) return true;
  error = Error(code);
  return false;
}

bool WalkFolder(const std::wstring& longPath, const fs::path& relative, const WalkVisitor& visit,
                bool& stopped, std::error_code& error) {
  bool ok = true;
  const bool listed = ForEachEntry(
      longPath, relative,
      [&](const TreeEntry& entry) {
        const WalkStep step = visit(entry);
        if (step == WalkStep::Stop) {
          stopped = true;
          return false;
        }
        if (entry.kind != TreeEntry::Kind::Folder || step == WalkStep::SkipFolder) return true;
        if (!WalkFolder(longPath + L"\\" + entry.name, entry.relative, visit, stopped, error)) {
          ok = false;
          return false;
        }
        return !stopped;
      },
      error);
  return listed && ok;
}

}  // namespace

bool WalkTree(const fs::path& root, const WalkVisitor& visit, std::error_code& error, WalkFacts) {
  error.clear();
  bool stopped = false;
  return WalkFolder(win32::LongPath(root), fs::path(), visit, stopped, error);
}

bool ListFolder(const fs::path& folder, std::vector<TreeEntry>& entries, std::error_code& error) {
  error.clear();
  entries.clear();
  return ForEachEntry(
      win32::LongPath(folder), fs::path(),
      [&](const TreeEntry& entry) {
        entries.push_back(entry);
        return true;
      },
      error);
}

bool DescribeEntry(const fs::path& path, TreeEntry& entry, std::error_code& error) {
  error.clear();
  WIN32_FIND_DATAW data;
  win32::UniqueFind find(FindFirstFileExW(win32::LongPath(path).c_str(), FindExInfoBasic, &data,
                                          FindExSearchNameMatch, nullptr, 0));
  if (!find) {
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) error = Error(code);
    return false;
  }
  Describe(data, fs::path(), entry);
  return true;
}

std::wstring NameKey(const std::wstring& name) {
  std::wstring key = name;
  if (!key.empty()) CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
  return key;
}

}  // namespace platform
