/*
** The device's state as the browser sees it: the last JSON text that the
** user-interface thread published, with a version that grows at every
** change. The UI thread swaps it in under a short lock and never waits for
** a reader; HTTP threads copy it out, or wait (bounded) for a newer one.
*/
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

namespace lumeno {

struct StateCopy {
  uint64_t version = 0;
  std::string body; /* {"version":N,...} */
};

class PublishedState {
 public:
  /* Publishes `state` (a JSON object's text, without its version) when it
  ** differs from the last; returns the version in force afterwards. */
  uint64_t publish(const std::string& state);
  uint64_t version() const;
  StateCopy read() const;
  /* Waits until the version differs from `seen` or the time is up (or
  ** wake() is called), then returns the state. */
  StateCopy waitNewer(uint64_t seen, std::chrono::milliseconds limit) const;
  /* Releases every waiting reader (at shutdown). */
  void wake();

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  uint64_t version_ = 0;
  std::string state_;
  std::string body_ = "{\"version\":0}";
  bool woken_ = false;
};

}  // namespace lumeno
