/*
** One request of a connection (see connection_stream.h).
*/
#include "serve/connection_stream.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace lumeno {

namespace {

using Clock = std::chrono::steady_clock;

/* Chunked bodies carry their sizes and line ends besides the data. */
constexpr std::size_t kFramingRoom = 4096;

void describe(const sockaddr_storage& addr, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = "";
  if (addr.ss_family == AF_INET) {
    auto* in = reinterpret_cast<const sockaddr_in*>(&addr);
    ::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
    port = ntohs(in->sin_port);
  } else if (addr.ss_family == AF_INET6) {
    auto* in6 = reinterpret_cast<const sockaddr_in6*>(&addr);
    ::inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text);
    port = ntohs(in6->sin6_port);
  }
  ip = text;
}

}  // namespace

ConnectionStream::ConnectionStream(Connection& connection, std::size_t headBytes,
                                   std::size_t maxBodyBytes, std::chrono::milliseconds timeout)
    : connection_(connection),
      headBytes_(headBytes),
      readLimit_(headBytes + maxBodyBytes + kFramingRoom),
      timeout_(timeout),
      readDeadline_(Clock::now() + timeout) {
  /* The gate may have read some of the body with the head. */
  readLimit_ -= std::min(readLimit_, connection.buffer.size());
}

ConnectionStream::~ConnectionStream() { connection_.buffer.erase(0, consumed_); }

bool ConnectionStream::waitFor(short events, Clock::time_point deadline) const {
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd p{connection_.fd, events, 0};
    int n = ::poll(&p, 1, static_cast<int>(left.count()));
    if (n > 0) return true;
    if (n == 0 || errno != EINTR) return false;
  }
}

bool ConnectionStream::is_readable() const {
  return consumed_ < connection_.buffer.size() || waitFor(POLLIN, readDeadline_);
}

bool ConnectionStream::is_writable() const {
  return waitFor(POLLOUT, writing_ ? writeDeadline_ : Clock::now() + timeout_);
}

ssize_t ConnectionStream::read(char* ptr, size_t size) {
  std::string& buffer = connection_.buffer;
  if (consumed_ == buffer.size()) {
    /* Refill, never past this request's budget. */
    buffer.clear();
    consumed_ = 0;
    if (readFailed_) return -1;
    std::size_t room = std::min<std::size_t>(4096, readLimit_);
    if (room == 0 || !waitFor(POLLIN, readDeadline_)) {
      readFailed_ = true;
      return -1;
    }
    buffer.resize(room);
    ssize_t n = ::recv(connection_.fd, buffer.data(), room, MSG_DONTWAIT);
    buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    if (n <= 0) {
      if (n < 0) readFailed_ = true;
      return n < 0 ? -1 : 0;
    }
    readLimit_ -= static_cast<std::size_t>(n);
  }
  std::size_t given = std::min(size, buffer.size() - consumed_);
  std::memcpy(ptr, buffer.data() + consumed_, given);
  consumed_ += given;
  headBytes_ -= std::min(headBytes_, given);
  return static_cast<ssize_t>(given);
}

ssize_t ConnectionStream::write(const char* ptr, size_t size) {
  if (!writing_) {
    writing_ = true;
    writeDeadline_ = Clock::now() + timeout_;
  }
  if (statusLine_.size() < 12)
    statusLine_.append(ptr, std::min(size, 12 - statusLine_.size()));
  if (writeFailed_ || !waitFor(POLLOUT, writeDeadline_)) {
    writeFailed_ = true;
    return -1;
  }
  ssize_t n = ::send(connection_.fd, ptr, size, MSG_DONTWAIT | MSG_NOSIGNAL);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return 0;
  if (n < 0) writeFailed_ = true;
  return n;
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage addr{};
  socklen_t length = sizeof addr;
  if (::getpeername(connection_.fd, reinterpret_cast<sockaddr*>(&addr), &length) == 0)
    describe(addr, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage addr{};
  socklen_t length = sizeof addr;
  if (::getsockname(connection_.fd, reinterpret_cast<sockaddr*>(&addr), &length) == 0)
    describe(addr, ip, port);
}

bool ConnectionStream::reusable() const {
  /* "HTTP/1.1 NNN": a refusal may leave its body unread, so the bytes that
  ** follow are not a request. */
  bool refused = statusLine_.size() < 12 || statusLine_[9] >= '4';
  return !readFailed_ && !writeFailed_ && headBytes_ == 0 && !refused;
}

}  // namespace lumeno
