/*
** Input from the browser on its way to the user-interface thread. An HTTP
** thread queues a request (refused when the queue is full) and waits,
** bounded, for its outcome; the UI thread takes requests one at a time when
** the device is idle, performs them, and completes each outcome once the
** state that follows from it has been published.
*/
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace lumeno {

/* How an input ended; shared by the HTTP thread that waits and the UI
** thread that completes it. */
struct InputOutcome {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  int status = 0; /* 200 performed, 409 stale, 4xx refused */
  std::string message;
  uint64_t version = 0; /* the state version after the input */

  void complete(int code, std::string text, uint64_t stateVersion);
  /* False when the time ran out before the UI thread completed it. */
  bool wait(std::chrono::milliseconds limit);
};

struct InputRequest {
  nlohmann::json action; /* {"action": "...", ...} */
  uint64_t version = 0;  /* the state it was made on */
  std::shared_ptr<InputOutcome> outcome;
};

class InputQueue {
 public:
  explicit InputQueue(std::size_t capacity) : capacity_(capacity) {}
  /* False when the queue is full or closed. */
  bool push(InputRequest request);
  /* Waits for a request until `deadline` (none: no limit) or close(). */
  std::optional<InputRequest> pop(std::optional<std::chrono::steady_clock::time_point> deadline);
  /* Wakes the UI thread without input (shutdown). */
  void close();
  bool closed() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<InputRequest> queue_;
  std::size_t capacity_;
  bool closed_ = false;
};

}  // namespace lumeno
