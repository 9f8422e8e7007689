#include "platform/http.h"

#include <vector>

#include "platform/win32/handles.h"

namespace platform {

bool CrackUrl(const std::wstring& url, CrackedUrl& parts) {
  constexpr DWORD kHostCapacity = 512;
  constexpr DWORD kPathCapacity = 4096;
  std::vector<wchar_t> host(kHostCapacity, L'\0');
  std::vector<wchar_t> path(kPathCapacity, L'\0');
  URL_COMPONENTS components = {};
  components.dwStructSize = sizeof(components);
  components.dwSchemeLength = static_cast<DWORD>(-1);
  components.lpszHostName = host.data();
  components.dwHostNameLength = kHostCapacity;
  components.lpszUrlPath = path.data();
  components.dwUrlPathLength = kPathCapacity;
  // Extra information is not asked for, so the query stays part of the path.
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &components)) return false;
  if (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS) {
    return false;
  }
  parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
  parts.host.assign(host.data(), components.dwHostNameLength);
  parts.port = components.nPort;
  parts.path.assign(path.data(), components.dwUrlPathLength);
  parts.extra.clear();
  return true;
}

// Declared so that destruction closes the request, then the connection, then the session.
struct HttpGet::Handles {
  win32::UniqueInternet session;
  win32::UniqueInternet connection;
  win32::UniqueInternet request;
};

HttpGet::HttpGet() : handles_(std::make_unique<Handles>()) {}
HttpGet::~HttpGet() {
  Close();
}

namespace {

// WinHTTP loads crypt32, which imports bcrypt. Windows resolves that import through the default
// DLL folders the programs set at start (System32 only); Wine looks in the program's folder
// first, where a planted bcrypt.dll would win. Already loaded from System32, it is found in
// memory instead. It stays loaded for the life of the process.
void LoadBcryptFromSystem32() {
  static const HMODULE bcrypt =
      LoadLibraryExW(L"bcrypt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  (void)bcrypt;
}

}  // namespace

bool HttpGet::OpenSession(const std::wstring& userAgent) {
  LoadBcryptFromSystem32();
  handles_->session.reset(WinHttpOpen(userAgent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                      WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!handles_->session) return false;
  constexpr int kTimeoutMs = 30000;
  WinHttpSetTimeouts(handles_->session.get(), kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs);
  DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_ALWAYS;  // HTTPS to HTTP as well
  WinHttpSetOption(handles_->session.get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy,
                   sizeof(policy));
  return true;
}

bool HttpGet::Connect(const CrackedUrl& url) {
  handles_->connection.reset(
      WinHttpConnect(handles_->session.get(), url.host.c_str(), url.port, 0));
  return static_cast<bool>(handles_->connection);
}

bool HttpGet::OpenRequest(const CrackedUrl& url, const std::wstring& object) {
  // Without WINHTTP_FLAG_ESCAPE_DISABLE WinHTTP percent-encodes spaces and other unsafe
  // characters of the object name.
  handles_->request.reset(WinHttpOpenRequest(
      handles_->connection.get(), L"GET", object.c_str(), /* pwszVersion */ nullptr,
      WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, url.secure ? WINHTTP_FLAG_SECURE : 0));
  return static_cast<bool>(handles_->request);
}

bool HttpGet::SendAndReceive() {
  return WinHttpSendRequest(handles_->request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
         WinHttpReceiveResponse(handles_->request.get(), nullptr);
}

std::uint32_t HttpGet::StatusCode() {
  DWORD code = 0;
  DWORD size = sizeof(code);
  WinHttpQueryHeaders(handles_->request.get(),
                      WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                      WINHTTP_HEADER_NAME_BY_INDEX, &code, &size, WINHTTP_NO_HEADER_INDEX);
  return code;
}

bool HttpGet::ContentLengthText(std::wstring& text) {
  wchar_t buffer[64] = {};
  DWORD size = sizeof(buffer);
  if (!WinHttpQueryHeaders(handles_->request.get(), WINHTTP_QUERY_CONTENT_LENGTH,
                           WINHTTP_HEADER_NAME_BY_INDEX, buffer, &size, WINHTTP_NO_HEADER_INDEX)) {
    return false;
  }
  text.assign(buffer, size / sizeof(wchar_t));
  return true;
}

bool HttpGet::Read(std::byte* buffer, std::size_t capacity, std::size_t& got) {
  DWORD read = 0;
  const DWORD request = capacity > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(capacity);
  if (!WinHttpReadData(handles_->request.get(), buffer, request, &read)) return false;
  got = read;
  return true;
}

void HttpGet::Close() {
  handles_->request.reset();
  handles_->connection.reset();
  handles_->session.reset();
}

}  // namespace platform
