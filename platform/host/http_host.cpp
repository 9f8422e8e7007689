#include <curl/curl.h>

#include <cstring>
#include <mutex>
#include <optional>

#include "platform/host/http_host.h"
#include "platform/http.h"
#include "platform/text.h"

namespace platform {
namespace {

constexpr std::size_t kPendingLimit = 1 << 20;

std::mutex caFileMutex;
std::string caFile;  // empty: the system's store

std::string CaFile() {
  const std::lock_guard<std::mutex> lock(caFileMutex);
  return caFile;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

// What WinHTTP does to an object name: unsafe and non-ASCII bytes are percent-encoded.
std::string EncodeObject(const std::wstring& object) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const unsigned char byte : WideToUtf8(object)) {
    if (byte <= 0x20 || byte >= 0x7F || std::strchr("\"<>\\^`{|}", byte)) {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 15];
    } else {
      encoded += static_cast<char>(byte);
    }
  }
  return encoded;
}

}  // namespace

void SetHostCaFile(const std::filesystem::path& file) {
  const std::lock_guard<std::mutex> lock(caFileMutex);
  caFile = file.string();
}

bool CrackUrl(const std::wstring& url, CrackedUrl& parts) {
  const std::size_t schemeEnd = url.find(L"://");
  if (schemeEnd == std::wstring::npos) return false;
  const std::string scheme = WideToUtf8(url.substr(0, schemeEnd));
  bool secure = false;
  if (scheme.size() == 5 && StartsWithNoCase(scheme, "https")) {
    secure = true;
  } else if (!(scheme.size() == 4 && StartsWithNoCase(scheme, "http"))) {
    return false;
  }
  const std::size_t authorityStart = schemeEnd + 3;
  std::size_t authorityEnd = url.find_first_of(L"/?#", authorityStart);
  if (authorityEnd == std::wstring::npos) authorityEnd = url.size();
  std::wstring authority = url.substr(authorityStart, authorityEnd - authorityStart);
  if (const auto at = authority.rfind(L'@'); at != std::wstring::npos) authority.erase(0, at + 1);
  std::uint32_t port = secure ? 443 : 80;
  const std::size_t bracket = authority.rfind(L']');
  const std::size_t colon = authority.rfind(L':');
  if (colon != std::wstring::npos && (bracket == std::wstring::npos || colon > bracket)) {
    const std::wstring digits = authority.substr(colon + 1);
    authority.erase(colon);
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of(L"0123456789") != std::wstring::npos) {
      return false;
    }
    port = static_cast<std::uint32_t>(std::stoul(digits));
    if (port == 0 || port > 65535) return false;
  }
  std::wstring path = url.substr(authorityEnd);
  if (path.empty() || path.front() != L'/') path.insert(0, L"/");
  if (authority.empty() || authority.size() >= 512 || path.size() >= 4096) return false;
  parts.secure = secure;
  parts.host = authority;
  parts.port = static_cast<std::uint16_t>(port);
  parts.path = path;
  parts.extra.clear();
  return true;
}

struct HttpGet::Handles {
  CURLM* multi = nullptr;
  CURL* easy = nullptr;
  std::string userAgent;
  std::string url;
  std::string caFile;
  std::string pending;
  std::size_t pendingOffset = 0;
  bool paused = false;
  bool headersDone = false;
  bool done = false;
  CURLcode result = CURLE_OK;
  bool sawLocation = false;
  std::optional<std::string> contentLength;

  ~Handles() { Release(); }

  void Release() {
    if (easy && multi) curl_multi_remove_handle(multi, easy);
    if (easy) curl_easy_cleanup(easy);
    if (multi) curl_multi_cleanup(multi);
    easy = nullptr;
    multi = nullptr;
  }

  // Drives the transfer until `ready` holds or it ends; false when the transfer failed.
  template <typename Ready>
  bool PumpUntil(Ready ready) {
    while (!ready() && !done) {
      if (paused) {
        paused = false;
        curl_easy_pause(easy, CURLPAUSE_CONT);
      }
      int running = 0;
      if (curl_multi_perform(multi, &running) != CURLM_OK) return false;
      int queued = 0;
      while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE) {
          done = true;
          result = message->data.result;
        }
      }
      if (!ready() && !done && !paused) curl_multi_poll(multi, nullptr, 0, 100, nullptr);
    }
    return ready() || !done || result == CURLE_OK;
  }

  // Each response of a redirect chain arrives here; only the last one's headers count.
  static size_t OnHeader(char* data, size_t size, size_t count, void* self) {
    auto* handles = static_cast<Handles*>(self);
    const std::string_view line(data, size * count);
    if (StartsWithNoCase(line, "http/")) {
      handles->contentLength.reset();
      handles->sawLocation = false;
    } else if (StartsWithNoCase(line, "content-length:")) {
      std::string value(line.substr(15));
      const auto first = value.find_first_not_of(" \t");
      const auto last = value.find_last_not_of(" \t\r\n");
      handles->contentLength =
          first == std::string::npos ? "" : value.substr(first, last - first + 1);
    } else if (StartsWithNoCase(line, "location:")) {
      handles->sawLocation = true;
    } else if (line == "\r\n" || line == "\n") {
      long code = 0;
      curl_easy_getinfo(handles->easy, CURLINFO_RESPONSE_CODE, &code);
      const bool followed = code >= 300 && code < 400 && handles->sawLocation;
      if (code >= 200 && !followed) handles->headersDone = true;
    }
    return size * count;
  }

  static size_t OnBody(char* data, size_t size, size_t count, void* self) {
    auto* handles = static_cast<Handles*>(self);
    handles->headersDone = true;
    if (handles->pending.size() - handles->pendingOffset >= kPendingLimit) {
      handles->paused = true;
      return CURL_WRITEFUNC_PAUSE;
    }
    if (handles->pendingOffset == handles->pending.size()) {
      handles->pending.clear();
      handles->pendingOffset = 0;
    }
    handles->pending.append(data, size * count);
    return size * count;
  }
};

HttpGet::HttpGet() : handles_(std::make_unique<Handles>()) {}
HttpGet::~HttpGet() = default;

bool HttpGet::OpenSession(const std::wstring& userAgent) {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!initialised) return false;
  handles_->userAgent = WideToUtf8(userAgent);
  handles_->multi = curl_multi_init();
  return handles_->multi != nullptr;
}

bool HttpGet::Connect(const CrackedUrl& url) {
  handles_->url =
      (url.secure ? "https://" : "http://") + WideToUtf8(url.host) + ":" + std::to_string(url.port);
  return true;
}

bool HttpGet::OpenRequest(const CrackedUrl&, const std::wstring& object) {
  CURL* easy = curl_easy_init();
  if (!easy) return false;
  handles_->easy = easy;
  handles_->url += EncodeObject(object);
  curl_easy_setopt(easy, CURLOPT_URL, handles_->url.c_str());
  curl_easy_setopt(easy, CURLOPT_USERAGENT, handles_->userAgent.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, 30000L);
  // The nearest thing to a 30 s receive time-out: a transfer that moves nothing for 30 s fails.
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, 30L);
  curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, 512L * 1024);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Handles::OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, handles_.get());
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Handles::OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, handles_.get());
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  handles_->caFile = CaFile();
  if (!handles_->caFile.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, handles_->caFile.c_str());
  return curl_multi_add_handle(handles_->multi, easy) == CURLM_OK;
}

bool HttpGet::SendAndReceive() {
  Handles& h = *handles_;
  if (!h.PumpUntil([&] { return h.headersDone; })) return false;
  return h.headersDone || (h.done && h.result == CURLE_OK);
}

std::uint32_t HttpGet::StatusCode() {
  long code = 0;
  if (curl_easy_getinfo(handles_->easy, CURLINFO_RESPONSE_CODE, &code) != CURLE_OK) return 0;
  return static_cast<std::uint32_t>(code);
}

bool HttpGet::ContentLengthText(std::wstring& text) {
  if (!handles_->contentLength) return false;
  text = Utf8ToWide(*handles_->contentLength);
  return true;
}

bool HttpGet::Read(std::byte* buffer, std::size_t capacity, std::size_t& got) {
  Handles& h = *handles_;
  if (!h.PumpUntil([&] { return h.pendingOffset < h.pending.size(); })) return false;
  const std::size_t available = h.pending.size() - h.pendingOffset;
  got = available < capacity ? available : capacity;
  std::memcpy(buffer, h.pending.data() + h.pendingOffset, got);
  h.pendingOffset += got;
  return true;
}

void HttpGet::Close() {
  handles_->Release();
}

}  // namespace platform
