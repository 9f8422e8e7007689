#include "server.h"

#include "platform/text.h"
#include "test_support.h"

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

}  // namespace test
