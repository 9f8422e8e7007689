// The floors the Windows driver is measured against: each heavy piece done with the bare Win32
// calls and nothing else, on the same data, in the same Wine run. Usage:
//   pw_bare copy SRC DST        list SRC with FindFirstFileExW, CopyFileExW every file into DST
//   pw_bare copyw SRC DST       the same with CopyFileW, which may replace (as xcopy copies)
//   pw_bare read A B            list both trees, read every file of both in 1 MiB ReadFile calls
//   pw_bare compare A B         list A, read each file and its twin in B by turns and memcmp them
//   pw_bare hash FILE           BCryptHashData over FILE in 1 MiB pieces
//   pw_bare download URL FILE   WinHttpReadData in 1 MiB pieces, each written to FILE
// Exits 0 on success; prints the digest for hash, the byte count for read and download.
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/long_path.h"

namespace {

using platform::win32::UniqueFile;
using platform::win32::UniqueFind;
using platform::win32::UniqueInternet;

constexpr DWORD kPiece = 1 << 20;

// Calls `visit(relative, isFolder)` for every entry below `root`, folders before their contents.
bool Walk(const std::wstring& root, const std::wstring& relative,
          const std::function<bool(const std::wstring&, bool)>& visit) {
  WIN32_FIND_DATAW entry = {};
  const std::wstring pattern = root + relative + L"\\*";
  UniqueFind find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return false;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = relative + L"\\" + name;
    const bool folder = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    if (!visit(path, folder)) return false;
    if (folder && !Walk(root, path, visit)) return false;
  } while (FindNextFileW(find.get(), &entry));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

std::wstring Root(const wchar_t* path) {
  return platform::win32::ExtendedPath(std::filesystem::absolute(path));
}

int Copy(const wchar_t* from, const wchar_t* to, bool replacing) {
  const std::wstring source = Root(from), target = Root(to);
  CreateDirectoryW(target.c_str(), nullptr);
  const bool ok = Walk(source, L"", [&](const std::wstring& relative, bool folder) {
    const std::wstring into = target + relative;
    if (folder) return CreateDirectoryW(into.c_str(), nullptr) != 0;
    if (replacing) return CopyFileW((source + relative).c_str(), into.c_str(), FALSE) != 0;
    return CopyFileExW((source + relative).c_str(), into.c_str(), nullptr, nullptr, nullptr,
                       COPY_FILE_FAIL_IF_EXISTS) != 0;
  });
  return ok ? 0 : 1;
}

int Read(const wchar_t* first, const wchar_t* second) {
  std::vector<char> buffer(kPiece);
  unsigned long long total = 0;
  for (const wchar_t* tree : {first, second}) {
    const std::wstring root = Root(tree);
    const bool ok = Walk(root, L"", [&](const std::wstring& relative, bool folder) {
      if (folder) return true;
      UniqueFile file(CreateFileW((root + relative).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
      if (!file) return false;
      for (DWORD got = 1; got != 0; total += got) {
        if (!ReadFile(file.get(), buffer.data(), kPiece, &got, nullptr)) return false;
      }
      return true;
    });
    if (!ok) return 1;
  }
  std::printf("bytes %llu\n", total);
  return 0;
}

// The read floor plus the comparison a clean pass cannot skip: what the pass itself costs once
// its walk and bookkeeping are taken away.
int Compare(const wchar_t* first, const wchar_t* second) {
  std::vector<char> left(kPiece), right(kPiece);
  const std::wstring a = Root(first), b = Root(second);
  unsigned long long differing = 0;
  const auto open = [](const std::wstring& path) {
    return UniqueFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  };
  const bool ok = Walk(a, L"", [&](const std::wstring& relative, bool folder) {
    if (folder) return true;
    UniqueFile one = open(a + relative), two = open(b + relative);
    if (!one || !two) return false;
    for (DWORD got = 1, other = 0; got != 0;) {
      if (!ReadFile(one.get(), left.data(), kPiece, &got, nullptr) ||
          !ReadFile(two.get(), right.data(), kPiece, &other, nullptr)) {
        return false;
      }
      if (got != other || std::memcmp(left.data(), right.data(), got) != 0) {
        ++differing;
        break;
      }
    }
    return true;
  });
  if (!ok) return 1;
  std::printf("differing %llu\n", differing);
  return 0;
}

int Hash(const wchar_t* path) {
  platform::win32::UniqueAlgorithm algorithm;
  platform::win32::UniqueHash hash;
  if (BCryptOpenAlgorithmProvider(algorithm.out(), BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0 ||
      BCryptCreateHash(algorithm.get(), hash.out(), nullptr, 0, nullptr, 0, 0) != 0) {
    return 1;
  }
  UniqueFile file(CreateFileW(Root(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return 1;
  std::vector<UCHAR> buffer(kPiece);
  for (DWORD got = 1; got != 0;) {
    if (!ReadFile(file.get(), buffer.data(), kPiece, &got, nullptr)) return 1;
    if (got && BCryptHashData(hash.get(), buffer.data(), got, 0) != 0) return 1;
  }
  UCHAR digest[32];
  if (BCryptFinishHash(hash.get(), digest, sizeof(digest), 0) != 0) return 1;
  std::printf("sha256 ");
  for (UCHAR byte : digest) std::printf("%02x", byte);
  std::printf("\n");
  return 0;
}

int Download(const wchar_t* url, const wchar_t* path) {
  wchar_t host[256] = {}, object[2048] = {};
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.lpszUrlPath = object;
  parts.dwUrlPathLength = 2048;
  if (!WinHttpCrackUrl(url, 0, 0, &parts)) return 1;
  UniqueInternet session(WinHttpOpen(L"pw_bare", WINHTTP_ACCESS_TYPE_NO_PROXY,
                                     WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return 1;
  UniqueInternet connection(WinHttpConnect(session.get(), host, parts.nPort, 0));
  if (!connection) return 1;
  UniqueInternet request(WinHttpOpenRequest(
      connection.get(), L"GET", object, nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
      parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
  if (!request ||
      !WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                          0, 0, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    return 1;
  }
  UniqueFile file(CreateFileW(Root(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 1;
  std::vector<char> buffer(kPiece);
  unsigned long long total = 0;
  for (DWORD got = 1; got != 0; total += got) {
    if (!WinHttpReadData(request.get(), buffer.data(), kPiece, &got)) return 1;
    DWORD written = 0;
    if (got && (!WriteFile(file.get(), buffer.data(), got, &written, nullptr) || written != got)) {
      return 1;
    }
  }
  std::printf("bytes %llu\n", total);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"copy" && argc == 4) return Copy(argv[2], argv[3], false);
  if (command == L"copyw" && argc == 4) return Copy(argv[2], argv[3], true);
  if (command == L"read" && argc == 4) return Read(argv[2], argv[3]);
  if (command == L"compare" && argc == 4) return Compare(argv[2], argv[3]);
  if (command == L"hash" && argc == 3) return Hash(argv[2]);
  if (command == L"download" && argc == 4) return Download(argv[2], argv[3]);
  std::fprintf(stderr, "usage: pw_bare copy|copyw|read|hash|download ...\n");
  return 2;
}
