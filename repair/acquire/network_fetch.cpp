#include "repair/acquire/network_fetch.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace repair {

namespace {

constexpr std::size_t kChunkSize = 1 << 20;
// Enough to keep the network busy while the job writes; nothing grows with the package.
constexpr std::size_t kBufferCount = 3;
constexpr auto kWaitSlice = std::chrono::milliseconds(100);

}  // namespace

struct NetworkFetch::Shared {
  std::mutex mutex;
  std::condition_variable changed;
  bool headReady = false;
  bool failed = false;
  bool ended = false;
  bool abandoned = false;
  Step failedStep = Step::Session;
  Head head;
  std::vector<std::vector<std::byte>> free;
  struct Filled {
    std::vector<std::byte> buffer;
    std::size_t size;
  };
  std::deque<Filled> filled;
  // The chunk the job holds, returned to `free` on its next call.
  std::vector<std::byte> lent;

  void Fail(Step step) {
    std::lock_guard lock(mutex);
    failed = true;
    failedStep = step;
    changed.notify_all();
  }

  void Run(const platform::CrackedUrl& url, const std::wstring& userAgent) {
    platform::HttpGet http;
    if (!http.OpenSession(userAgent)) return Fail(Step::Session);
    if (!http.Connect(url)) return Fail(Step::Connect);
    if (!http.OpenRequest(url, url.path + url.extra)) return Fail(Step::Request);
    if (!http.SendAndReceive()) return Fail(Step::Send);
    {
      std::lock_guard lock(mutex);
      head.statusCode = http.StatusCode();
      head.hasLength = http.ContentLengthText(head.lengthText);
      headReady = true;
      changed.notify_all();
    }
    for (;;) {
      std::vector<std::byte> buffer;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return abandoned || !free.empty(); });
        if (abandoned) return;
        buffer = std::move(free.back());
        free.pop_back();
      }
      std::size_t got = 0;
      if (!http.Read(buffer.data(), buffer.size(), got)) return Fail(Step::Body);
      std::lock_guard lock(mutex);
      filled.push_back({std::move(buffer), got});
      changed.notify_all();
      if (got == 0) return;
    }
  }

  // Waits until `ready` holds, in slices that let `stop` end the wait.
  template <typename Ready>
  Outcome Await(std::unique_lock<std::mutex>& lock, const std::function<bool()>& stop,
                Ready ready) {
    for (;;) {
      if (ready()) return Outcome::Ready;
      if (failed) return Outcome::Failed;
      if (stop && stop()) return Outcome::Stopped;
      changed.wait_for(lock, kWaitSlice);
    }
  }
};

NetworkFetch::NetworkFetch(const platform::CrackedUrl& url, const std::wstring& userAgent)
    : shared_(std::make_shared<Shared>()) {
  for (std::size_t i = 0; i < kBufferCount; ++i) shared_->free.emplace_back(kChunkSize);
  // The thread holds the shared state, so it may outlive this object.
  std::thread([shared = shared_, url, userAgent] { shared->Run(url, userAgent); }).detach();
}

NetworkFetch::~NetworkFetch() {
  std::lock_guard lock(shared_->mutex);
  shared_->abandoned = true;
  shared_->changed.notify_all();
}

NetworkFetch::Outcome NetworkFetch::AwaitHead(const std::function<bool()>& stop, Head& head) {
  std::unique_lock lock(shared_->mutex);
  const Outcome outcome = shared_->Await(lock, stop, [&] { return shared_->headReady; });
  if (outcome == Outcome::Ready) head = shared_->head;
  return outcome;
}

NetworkFetch::Outcome NetworkFetch::NextChunk(const std::function<bool()>& stop,
                                              std::span<const std::byte>& chunk) {
  Shared& s = *shared_;
  std::unique_lock lock(s.mutex);
  if (!s.lent.empty()) {
    s.free.push_back(std::move(s.lent));
    s.lent.clear();
    s.changed.notify_all();
  }
  // Chunks already read count even when the transfer failed after them.
  const Outcome outcome = s.Await(lock, stop, [&] { return !s.filled.empty(); });
  if (outcome != Outcome::Ready) return outcome;
  Shared::Filled next = std::move(s.filled.front());
  s.filled.pop_front();
  s.lent = std::move(next.buffer);
  chunk = std::span<const std::byte>(s.lent.data(), next.size);
  return Outcome::Ready;
}

NetworkFetch::Step NetworkFetch::FailedStep() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->failedStep;
}

}  // namespace repair
