#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/http.h"

namespace repair {

// One HTTP GET carried out on a thread of its own. A silent server can hold that thread until
// the network's own timeouts end it, but never the job: the job waits in short slices, asking
// whether to stop, and on a stop simply walks away; the thread then finishes alone on the state
// it shares and lets go of everything itself.
class NetworkFetch {
 public:
  enum class Outcome { Ready, Failed, Stopped };
  // The step of the request that failed.
  enum class Step { Session, Connect, Request, Send, Body };

  struct Head {
    std::uint32_t statusCode = 0;
    bool hasLength = false;
    std::wstring lengthText;  // the Content-Length header as sent
  };

  // Starts the request at once.
  NetworkFetch(const platform::CrackedUrl& url, const std::wstring& userAgent);
  ~NetworkFetch();  // abandons a transfer still running
  NetworkFetch(const NetworkFetch&) = delete;
  NetworkFetch& operator=(const NetworkFetch&) = delete;

  // Waits for the response's status and headers.
  [[nodiscard]] Outcome AwaitHead(const std::function<bool()>& stop, Head& head);
  // The next piece of the body, empty at its end; valid until the next call.
  [[nodiscard]] Outcome NextChunk(const std::function<bool()>& stop,
                                  std::span<const std::byte>& chunk);
  // Where the request failed, after Failed.
  [[nodiscard]] Step FailedStep() const;

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
};

}  // namespace repair
