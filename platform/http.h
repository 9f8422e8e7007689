#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// The parts of an http(s) URL, as the HTTP client needs them.
struct CrackedUrl {
  bool secure = false;
  std::wstring host;
  std::uint16_t port = 0;
  std::wstring path;   // "/" when the URL has none
  std::wstring extra;  // the query (and fragment), with its leading '?'
};

// False for a malformed URL, a scheme other than http or https, a host name of 512 characters
// or more, or a path of 4,096 characters or more.
[[nodiscard]] bool CrackUrl(const std::wstring& url, CrackedUrl& parts);

// One GET, taken step by step so that each stage can fail on its own: session, connection,
// request, send-and-receive, then the body chunk by chunk. Redirects of every kind, HTTPS to
// HTTP included, are followed by the client; unsafe characters of the path are percent-encoded.
class HttpGet {
 public:
  HttpGet();
  ~HttpGet();  // closes request, connection and session, in that order
  HttpGet(const HttpGet&) = delete;
  HttpGet& operator=(const HttpGet&) = delete;

  [[nodiscard]] bool OpenSession(const std::wstring& userAgent);
  [[nodiscard]] bool Connect(const CrackedUrl& url);
  // The object is the URL's path followed by its extra part.
  [[nodiscard]] bool OpenRequest(const CrackedUrl& url, const std::wstring& object);
  [[nodiscard]] bool SendAndReceive();
  // The final response's status; 0 when it cannot be read.
  [[nodiscard]] std::uint32_t StatusCode();
  // The Content-Length header as text; false when the response has none.
  [[nodiscard]] bool ContentLengthText(std::wstring& text);
  // Reads up to `capacity` bytes of the body; `got` is 0 at its end. False on a transfer error.
  [[nodiscard]] bool Read(std::byte* buffer, std::size_t capacity, std::size_t& got);
  void Close();

 private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
};

}  // namespace platform
