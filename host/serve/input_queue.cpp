/*
** The bounded input queue (see input_queue.h).
*/
#include "serve/input_queue.h"

namespace lumeno {

void InputOutcome::complete(int code, std::string text, uint64_t stateVersion) {
  {
    std::lock_guard lock(mutex);
    if (done) return;
    done = true;
    status = code;
    message = std::move(text);
    version = stateVersion;
  }
  finished.notify_all();
}

bool InputOutcome::wait(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex);
  return finished.wait_for(lock, limit, [this] { return done; });
}

bool InputQueue::push(InputRequest request) {
  {
    std::lock_guard lock(mutex_);
    if (closed_ || queue_.size() >= capacity_) return false;
    queue_.push_back(std::move(request));
  }
  arrived_.notify_one();
  return true;
}

std::optional<InputRequest> InputQueue::pop(
    std::optional<std::chrono::steady_clock::time_point> deadline) {
  std::unique_lock lock(mutex_);
  auto ready = [this] { return closed_ || !queue_.empty(); };
  if (deadline)
    arrived_.wait_until(lock, *deadline, ready);
  else
    arrived_.wait(lock, ready);
  if (closed_ || queue_.empty()) return std::nullopt;
  InputRequest r = std::move(queue_.front());
  queue_.pop_front();
  return r;
}

void InputQueue::close() {
  std::deque<InputRequest> left;
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    left.swap(queue_);
  }
  for (auto& r : left) r.outcome->complete(503, "the host is shutting down", 0);
  arrived_.notify_all();
}

bool InputQueue::closed() const {
  std::lock_guard lock(mutex_);
  return closed_;
}

}  // namespace lumeno
