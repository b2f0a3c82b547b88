/*
** One request of a connection as the HTTP library reads and answers it.
** The head was read whole by the connection gate (connection_gate.h) and
** waits in the connection's buffer; the stream serves those bytes first and
** reads the rest from the socket, within bounds:
**   - the body may bring at most `maxBodyBytes` (plus room for chunk sizes)
**     and must arrive within `timeout` of the request's start;
**   - the answer must be taken by the client within `timeout` of its start.
** A read past either bound fails, and the connection is closed after the
** answer. What is left unread stays in the buffer for the next request.
*/
#pragma once

#include <httplib.h>

#include <chrono>
#include <string>

#include "serve/connection_gate.h"

namespace lumeno {

class ConnectionStream : public httplib::Stream {
 public:
  ConnectionStream(Connection& connection, std::size_t headBytes, std::size_t maxBodyBytes,
                   std::chrono::milliseconds timeout);
  ~ConnectionStream() override;

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return connection_.fd; }

  /* The connection may serve another request: the head was read to its end,
  ** no read or write failed, and the answer was not a refusal. */
  bool reusable() const;

 private:
  bool waitFor(short events, std::chrono::steady_clock::time_point deadline) const;

  Connection& connection_;
  std::size_t headBytes_;
  std::size_t readLimit_;     /* head + body budget, in bytes */
  std::size_t consumed_ = 0;  /* bytes of the buffer handed out */
  std::chrono::milliseconds timeout_;
  std::chrono::steady_clock::time_point readDeadline_;
  std::chrono::steady_clock::time_point writeDeadline_{};
  bool writing_ = false;
  bool readFailed_ = false;
  bool writeFailed_ = false;
  std::string statusLine_;    /* the first bytes of the answer */
};

}  // namespace lumeno
