/*
** The emulator's open connections between requests.
**
** One gate thread holds every connection that waits for its next request
** head and polls them all, so no other thread ever blocks on a client that
** is slow or silent. It reads each head into the connection's own buffer,
** never past the head limit, and
**   - refuses a head that passes the limit with 431 at once and closes;
**   - drops a connection whose head has not come within the idle timeout;
**   - when it holds as many connections as it may, closes the one that has
**     waited longest to make room for the newcomer, so a flood of idle
**     connections cannot lock the page out;
**   - hands a connection with a whole head to a worker through a bounded
**     queue; when that is full the request is answered 503 (written without
**     waiting) and closed.
** A worker serves the request and gives the connection back for the next.
** The gate knows nothing of HTTP beyond where a head ends.
*/
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace lumeno {

struct GateLimits {
  std::size_t workers = 8;
  std::size_t pendingRequests = 32;   /* whole heads waiting for a worker */
  std::size_t openConnections = 64;   /* connections waiting for a head */
  std::size_t maxHeadBytes = 16 * 1024;
  std::chrono::milliseconds idleTimeout{2000}; /* for the whole next head */
};

/* A client connection and the bytes read from it that are not used yet. */
struct Connection {
  int fd = -1;
  std::string buffer;
  std::size_t served = 0; /* requests answered on it */
  std::chrono::steady_clock::time_point waitingSince;
};

/* Length of the request head at the start of `bytes` (through the blank
** line that ends it), or 0 when the head has not ended within `limit`. The
** head ends at the first line that is exactly CR LF, as the HTTP parser
** reads it. */
std::size_t requestHeadLength(std::string_view bytes, std::size_t limit);

/* Shuts down and closes a socket. */
void closeConnection(int fd);

class ConnectionGate {
 public:
  /* Serves the request at the front of the connection's bytes on a worker;
  ** true when the connection stays open for another request. */
  using Serve = std::function<bool(Connection&)>;

  ConnectionGate(GateLimits limits, Serve serve);
  ~ConnectionGate();
  ConnectionGate(const ConnectionGate&) = delete;
  ConnectionGate& operator=(const ConnectionGate&) = delete;

  /* A newly accepted connection; never blocks. */
  void admit(int fd);
  /* Closes every connection it holds and joins its threads. */
  void stop();

 private:
  void hand(Connection connection);
  void gateLoop();
  void workerLoop();
  void place(Connection connection, std::vector<Connection>& waiting);
  void dispatch(Connection connection);

  GateLimits limits_;
  Serve serve_;
  int wakeFd_ = -1;
  std::atomic<bool> stopping_{false};

  std::mutex inboxMutex_;
  std::deque<Connection> inbox_;

  std::mutex jobsMutex_;
  std::condition_variable jobReady_;
  std::deque<Connection> jobs_;

  std::thread gate_;
  std::vector<std::thread> workers_;
};

}  // namespace lumeno
