#pragma once

#include <filesystem>
#include <string>

namespace test {

// The package server stand-in that CTest starts for the run.
class PackageServer {
 public:
  PackageServer();
  // An http URL on the server for `target` (a path with any query, starting with '/').
  std::wstring Url(const std::string& target) const;
  // Places a file the server serves at "/<name>".
  void Publish(const std::string& name, const std::string& bytes) const;
  // The request log so far.
  std::string RequestLog() const;

 private:
  std::filesystem::path dir_;
  std::string port_;
};

// The nginx web server stand-in that CTest starts for the run (web-server-ctl.sh). It serves
// the package server's www folder, so files published there are on both.
class WebServer {
 public:
  // On the host, also makes downloads trust the run's test CA (under Wine, the test prefix
  // trusts it already).
  WebServer();
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;
  // A URL on the named port (http, https, untrusted, wronghost, expired), host name localhost.
  std::wstring Url(const std::string& port, const std::string& target) const;

 private:
  std::filesystem::path dir_;
};

}  // namespace test
