/*
** Published device state (see published_state.h).
*/
#include "serve/published_state.h"

namespace lumeno {

uint64_t PublishedState::publish(const std::string& state) {
  /* The body is built outside the lock; only the swap happens under it. */
  {
    std::lock_guard lock(mutex_);
    if (state == state_) return version_;
  }
  std::string body = state;
  std::string copy = state;
  uint64_t version;
  {
    std::lock_guard lock(mutex_);
    version = ++version_;
    std::string prefix = "{\"version\":" + std::to_string(version);
    if (body.size() > 2)
      body = prefix + "," + body.substr(1);
    else
      body = prefix + "}";
    body_.swap(body);
    state_.swap(copy);
  }
  changed_.notify_all();
  return version;
}

uint64_t PublishedState::version() const {
  std::lock_guard lock(mutex_);
  return version_;
}

StateCopy PublishedState::read() const {
  std::lock_guard lock(mutex_);
  return {version_, body_};
}

StateCopy PublishedState::waitNewer(uint64_t seen, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, limit, [&] { return version_ != seen || woken_; });
  return {version_, body_};
}

void PublishedState::wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  changed_.notify_all();
}

}  // namespace lumeno
