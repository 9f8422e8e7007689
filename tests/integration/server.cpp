#include "server.h"

#include "platform/text.h"
#include "test_support.h"
#ifndef _WIN32
#include "platform/host/http_host.h"
#endif

namespace test {

PackageServer::PackageServer() : dir_(PARCELWRIGHT_SERVER_DIR) {
  port_ = ReadFile(dir_ / "port");
  while (!port_.empty() && (port_.back() == '\n' || port_.back() == '\r')) port_.pop_back();
}

std::wstring PackageServer::Url(const std::string& target) const {
  return platform::Utf8ToWide("http://127.0.0.1:" + port_ + target);
}

void PackageServer::Publish(const std::string& name, const std::string& bytes) const {
  WriteFile(dir_ / "www" / std::filesystem::u8path(name), bytes);
}

std::string PackageServer::RequestLog() const {
  return ReadFile(dir_ / "requests.log");
}

WebServer::WebServer() : dir_(PARCELWRIGHT_WEB_SERVER_DIR) {
#ifndef _WIN32
  platform::SetHostCaFile(dir_ / "ca.pem");
#endif
}

WebServer::~WebServer() {
#ifndef _WIN32
  platform::SetHostCaFile({});
#endif
}

std::wstring WebServer::Url(const std::string& port, const std::string& target) const {
  std::string number = ReadFile(dir_ / (port + "_port"));
  while (!number.empty() && (number.back() == '\n' || number.back() == '\r')) number.pop_back();
  const std::string scheme = port == "http" ? "http" : "https";
  return platform::Utf8ToWide(scheme + "://localhost:" + number + target);
}

}  // namespace test
