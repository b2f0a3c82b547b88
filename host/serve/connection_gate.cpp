/*
** The emulator's open connections between requests (see connection_gate.h).
*/
#include "serve/connection_gate.h"

#include <errno.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace lumeno {

namespace {

using Clock = std::chrono::steady_clock;

/* Answers written on the gate's own thread: tiny, so they fit the empty
** send buffer of a new connection and are sent without waiting. */
const char kHeadTooLarge[] =
    "HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Type: text/plain; charset=utf-8\r\n"
    "Content-Length: 27\r\nConnection: close\r\nX-Content-Type-Options: nosniff\r\n"
    "Cache-Control: no-store\r\nContent-Security-Policy: frame-ancestors 'none'\r\n\r\n"
    "request headers too large\r\n";
const char kBusy[] =
    "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/plain; charset=utf-8\r\n"
    "Content-Length: 22\r\nConnection: close\r\nX-Content-Type-Options: nosniff\r\n"
    "Cache-Control: no-store\r\nContent-Security-Policy: frame-ancestors 'none'\r\n"
    "Retry-After: 1\r\n\r\ntoo many connections\r\n";

void refuseNow(int fd, const char* answer, std::size_t size) {
  [[maybe_unused]] ssize_t sent = ::send(fd, answer, size, MSG_DONTWAIT | MSG_NOSIGNAL);
  closeConnection(fd);
}

void wake(int fd) {
  uint64_t one = 1;
  [[maybe_unused]] ssize_t n = ::write(fd, &one, sizeof one);
}

enum class ReadResult { waiting, whole, tooLarge, gone };

/* Reads what has arrived, never past the head limit. */
ReadResult readHead(Connection& c, std::size_t limit) {
  char chunk[4096];
  for (;;) {
    if (requestHeadLength(c.buffer, limit) != 0) return ReadResult::whole;
    if (c.buffer.size() >= limit) return ReadResult::tooLarge;
    std::size_t room = std::min(sizeof chunk, limit - c.buffer.size());
    ssize_t n = ::recv(c.fd, chunk, room, MSG_DONTWAIT);
    if (n > 0) {
      c.buffer.append(chunk, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
      return ReadResult::waiting;
    return ReadResult::gone;
  }
}

}  // namespace

std::size_t requestHeadLength(std::string_view bytes, std::size_t limit) {
  std::string_view scanned = bytes.substr(0, std::min(bytes.size(), limit));
  auto blank = scanned.find("\n\r\n");
  return blank == std::string_view::npos ? 0 : blank + 3;
}

void closeConnection(int fd) {
  ::shutdown(fd, SHUT_RDWR);
  ::close(fd);
}

ConnectionGate::ConnectionGate(GateLimits limits, Serve serve)
    : limits_(limits), serve_(std::move(serve)) {
  wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  gate_ = std::thread([this] { gateLoop(); });
  for (std::size_t i = 0; i < limits_.workers; ++i)
    workers_.emplace_back([this] { workerLoop(); });
}

ConnectionGate::~ConnectionGate() {
  stop();
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

void ConnectionGate::admit(int fd) {
  int yes = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  int dropped = -1;
  {
    std::lock_guard lock(inboxMutex_);
    if (stopping_) {
      dropped = fd;
    } else {
      /* The gate takes its inbox on every turn; in a burst larger than it
      ** may hold at all, the oldest newcomer makes room, as in the gate. */
      if (inbox_.size() >= limits_.openConnections) {
        dropped = inbox_.front().fd;
        inbox_.pop_front();
      }
      inbox_.push_back(Connection{fd, {}, 0, {}});
    }
  }
  if (dropped >= 0) closeConnection(dropped);
  wake(wakeFd_);
}

void ConnectionGate::hand(Connection connection) {
  {
    std::lock_guard lock(inboxMutex_);
    if (!stopping_) {
      inbox_.push_back(std::move(connection));
      connection.fd = -1;
    }
  }
  if (connection.fd >= 0)
    closeConnection(connection.fd);
  else
    wake(wakeFd_);
}

void ConnectionGate::stop() {
  if (stopping_.exchange(true)) return;
  wake(wakeFd_);
  { std::lock_guard lock(jobsMutex_); } /* no worker is between its check and its wait */
  jobReady_.notify_all();
  if (gate_.joinable()) gate_.join();
  for (auto& worker : workers_) worker.join();
  workers_.clear();
  for (Connection& c : jobs_) closeConnection(c.fd);
  jobs_.clear();
  for (Connection& c : inbox_) closeConnection(c.fd);
  inbox_.clear();
}

void ConnectionGate::dispatch(Connection connection) {
  {
    std::lock_guard lock(jobsMutex_);
    if (jobs_.size() < limits_.pendingRequests) {
      jobs_.push_back(std::move(connection));
      jobReady_.notify_one();
      return;
    }
  }
  refuseNow(connection.fd, kBusy, sizeof kBusy - 1);
}

/* A connection starts waiting for its next head; bytes that came with the
** last request may already hold it. */
void ConnectionGate::place(Connection connection, std::vector<Connection>& waiting) {
  connection.waitingSince = Clock::now();
  switch (readHead(connection, limits_.maxHeadBytes)) {
    case ReadResult::whole:
      dispatch(std::move(connection));
      return;
    case ReadResult::tooLarge:
      refuseNow(connection.fd, kHeadTooLarge, sizeof kHeadTooLarge - 1);
      return;
    case ReadResult::gone:
      closeConnection(connection.fd);
      return;
    case ReadResult::waiting:
      break;
  }
  if (waiting.size() >= limits_.openConnections) {
    auto oldest = std::min_element(waiting.begin(), waiting.end(), [](auto& a, auto& b) {
      return a.waitingSince < b.waitingSince;
    });
    closeConnection(oldest->fd);
    *oldest = std::move(waiting.back());
    waiting.pop_back();
  }
  waiting.push_back(std::move(connection));
}

void ConnectionGate::gateLoop() {
  std::vector<Connection> waiting;
  std::vector<pollfd> polled;
  while (!stopping_) {
    std::deque<Connection> arrived;
    {
      std::lock_guard lock(inboxMutex_);
      arrived.swap(inbox_);
    }
    for (Connection& c : arrived) place(std::move(c), waiting);

    polled.assign(1, pollfd{wakeFd_, POLLIN, 0});
    auto now = Clock::now();
    auto nextDeadline = now + std::chrono::seconds(60);
    for (const Connection& c : waiting) {
      polled.push_back(pollfd{c.fd, POLLIN, 0});
      nextDeadline = std::min(nextDeadline, c.waitingSince + limits_.idleTimeout);
    }
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextDeadline - now);
    int timeout = static_cast<int>(std::max<long long>(0, wait.count() + 1));
    if (::poll(polled.data(), polled.size(), timeout) < 0 && errno != EINTR) break;
    if (polled[0].revents) {
      uint64_t count;
      [[maybe_unused]] ssize_t n = ::read(wakeFd_, &count, sizeof count);
    }

    now = Clock::now();
    std::vector<Connection> still;
    still.reserve(waiting.size());
    for (std::size_t i = 0; i < waiting.size(); ++i) {
      Connection& c = waiting[i];
      ReadResult r = polled[i + 1].revents ? readHead(c, limits_.maxHeadBytes) : ReadResult::waiting;
      if (r == ReadResult::whole)
        dispatch(std::move(c));
      else if (r == ReadResult::tooLarge)
        refuseNow(c.fd, kHeadTooLarge, sizeof kHeadTooLarge - 1);
      else if (r == ReadResult::gone || now >= c.waitingSince + limits_.idleTimeout)
        closeConnection(c.fd);
      else
        still.push_back(std::move(c));
    }
    waiting.swap(still);
  }
  for (Connection& c : waiting) closeConnection(c.fd);
}

void ConnectionGate::workerLoop() {
  for (;;) {
    Connection c;
    {
      std::unique_lock lock(jobsMutex_);
      jobReady_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) return;
      c = std::move(jobs_.front());
      jobs_.pop_front();
    }
    if (serve_(c))
      hand(std::move(c));
    else
      closeConnection(c.fd);
  }
}

}  // namespace lumeno
