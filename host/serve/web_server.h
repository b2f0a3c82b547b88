/*
** The emulator's HTTP server: loopback only, every request through the
** guard (request_guard.h), the embedded assets, the published state (with
** a bounded long poll for changes) and input by POST. Its threads never
** touch the platform: they read the published state and queue input.
**
** The HTTP library accepts connections and parses and answers requests;
** the connection gate (connection_gate.h) holds connections between
** requests, so a request reaches the library only with its whole head read
** within the limits, and a worker is never tied up by an idle client.
*/
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "serve/input_queue.h"
#include "serve/published_state.h"
#include "serve/request_guard.h"

namespace httplib {
class Server;
}

namespace lumeno {

class ConnectionGate;

struct ServerLimits {
  std::size_t workers = 8;          /* requests handled at once */
  std::size_t pendingRequests = 32; /* whole requests waiting for a worker */
  std::size_t openConnections = 64; /* connections waiting for a request */
  std::size_t longPolls = 4;        /* tabs waiting for a change at once */
  std::size_t maxBodyBytes = 16 * 1024;
  std::size_t maxHeaderBytes = 16 * 1024; /* request line and headers */
  int idleMillis = 2000;            /* for a connection's whole next head */
  int ioSeconds = 5;                /* for a request's body, and its answer */
};

class WebServer {
 public:
  WebServer(PublishedState& state, InputQueue& queue, ServerLimits limits = {});
  ~WebServer();
  /* Binds 127.0.0.1:port (0: any free port) with a fresh access token;
  ** false with a message when the port is taken. */
  bool bind(int port, std::string* error);
  int port() const { return guard_.port; }
  const std::string& token() const { return guard_.token; }
  /* The address to open, with the token. */
  std::string address() const;
  void start();
  void stop();

 private:
  void installRoutes();

  PublishedState& state_;
  InputQueue& queue_;
  ServerLimits limits_;
  guard::GuardConfig guard_;
  std::unique_ptr<httplib::Server> server_;
  std::unique_ptr<ConnectionGate> gate_;
  std::thread thread_;
};

/* A fresh random token (hex). */
std::string randomToken();

}  // namespace lumeno
