/*
** The emulator's HTTP server: loopback only, every request through the
** guard (request_guard.h), the embedded assets, the published state (with
** a bounded long poll for changes) and input by POST. Its threads never
** touch the platform: they read the published state and queue input.
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

struct ServerLimits {
  std::size_t workers = 8;          /* requests handled at once */
  std::size_t pendingConnections = 32;
  std::size_t longPolls = 4;        /* tabs waiting for a change at once */
  std::size_t maxBodyBytes = 16 * 1024;
  std::size_t maxHeaderBytes = 16 * 1024;
  int idleSeconds = 5;              /* read, write and keep-alive timeouts */
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
  std::thread thread_;
};

/* A fresh random token (hex). */
std::string randomToken();

}  // namespace lumeno
