/*
** The emulator's HTTP server (see web_server.h).
*/
#include "serve/web_server.h"

#include <httplib.h>
#include <sys/random.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <mutex>

#include "serve/connection_gate.h"
#include "serve/connection_stream.h"
#include "serve/web_assets.h"

namespace lumeno {

using nlohmann::json;

namespace {

/* Every answer: no sniffing, no caching, never inside a frame. */
const httplib::Headers kCommonHeaders = {
    {"X-Content-Type-Options", "nosniff"},
    {"Cache-Control", "no-store"},
    {"Content-Security-Policy", "frame-ancestors 'none'"},
    {"X-Frame-Options", "DENY"},
    {"Referrer-Policy", "no-referrer"},
    {"Cross-Origin-Resource-Policy", "same-origin"},
};

/* The page's own policy: scripts only from itself and never inline, no
** objects. Inline styles are allowed because the HTML viewer's frame inherits
** this policy and carries its own small style sheet; the page itself never
** inserts markup, so no style can be injected into it. The frame adds its
** own, stricter policy inline. */
const char kPagePolicy[] =
    "default-src 'none'; script-src 'self'; style-src 'self' 'unsafe-inline'; connect-src 'self'; "
    "img-src 'self'; frame-src 'self'; object-src 'none'; base-uri 'none'; form-action 'none'; "
    "frame-ancestors 'none'";

/* Runs each accepted connection at once on the accepting thread, which
** only hands it to the gate. */
class HandToGate : public httplib::TaskQueue {
 public:
  void enqueue(std::function<void()> fn) override { fn(); }
  void shutdown() override {}
};

/* The library's server with the connection gate in front of its parser. */
class GatedServer : public httplib::Server {
 public:
  void useGate(ConnectionGate* gate) { gate_ = gate; }
  /* The library listens with a backlog of 5; a burst of connections would
  ** overflow it and delay the page's own connection by a SYN retry. */
  void widenBacklog(int backlog) { ::listen(svr_sock_, backlog); }
  /* One request on a worker: the library parses and answers it. */
  bool serveOne(Connection& c, std::size_t maxHeadBytes, std::size_t maxBodyBytes,
                std::chrono::milliseconds timeout) {
    ConnectionStream stream(c, requestHeadLength(c.buffer, maxHeadBytes), maxBodyBytes, timeout);
    bool lastOne = ++c.served >= kRequestsPerConnection;
    bool clientClosed = false;
    bool answered = process_request(stream, lastOne, clientClosed, nullptr);
    return answered && !lastOne && !clientClosed && stream.reusable();
  }

 private:
  static constexpr std::size_t kRequestsPerConnection = 100;
  bool process_and_close_socket(socket_t sock) override {
    if (gate_)
      gate_->admit(sock);
    else
      closeConnection(sock);
    return true;
  }
  ConnectionGate* gate_ = nullptr;
};

std::optional<std::string_view> single(const httplib::Request& req, const char* name) {
  if (req.get_header_value_count(name) != 1) return std::nullopt;
  auto it = req.headers.find(name);
  return std::string_view(it->second);
}

void refuse(httplib::Response& res, int status, const std::string& reason) {
  res.status = status;
  res.set_content(reason + "\n", "text/plain; charset=utf-8");
}

void answerJson(httplib::Response& res, int status, const json& body) {
  res.status = status;
  res.set_content(body.dump(), "application/json; charset=utf-8");
}

bool parseVersion(const std::string& text, uint64_t* out) {
  if (text.empty() || text.size() > 19) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  *out = v;
  return true;
}

}  // namespace

std::string randomToken() {
  unsigned char bytes[32];
  std::size_t got = 0;
  while (got < sizeof bytes) {
    ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
    if (n > 0) got += static_cast<std::size_t>(n);
  }
  static const char hex[] = "0123456789abcdef";
  std::string token;
  for (unsigned char b : bytes) {
    token.push_back(hex[b >> 4]);
    token.push_back(hex[b & 15]);
  }
  return token;
}

WebServer::WebServer(PublishedState& state, InputQueue& queue, ServerLimits limits)
    : state_(state), queue_(queue), limits_(limits), server_(std::make_unique<GatedServer>()) {
  guard_.maxHeaderBytes = limits_.maxHeaderBytes;
}

WebServer::~WebServer() { stop(); }

std::string WebServer::address() const {
  return "http://127.0.0.1:" + std::to_string(guard_.port) + "/?token=" + guard_.token;
}

bool WebServer::bind(int port, std::string* error) {
  httplib::Server& s = *server_;
  s.new_task_queue = [] { return new HandToGate; };
  /* SO_REUSEADDR only: with SO_REUSEPORT a second host could share a port
  ** that is in use instead of failing. */
  s.set_socket_options([](socket_t sock) {
    int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  s.set_default_headers(kCommonHeaders);
  s.set_tcp_nodelay(true);
  s.set_payload_max_length(limits_.maxBodyBytes);
  guard_.token = randomToken();
  int bound = port == 0 ? s.bind_to_any_port("127.0.0.1") : (s.bind_to_port("127.0.0.1", port) ? port : -1);
  if (bound <= 0) {
    *error = port == 0 ? "cannot listen on 127.0.0.1"
                       : "port " + std::to_string(port) +
                             " on 127.0.0.1 is taken (choose another with --port N, or --port 0 "
                             "for any free port)";
    return false;
  }
  guard_.port = bound;
  static_cast<GatedServer&>(s).widenBacklog(256);
  installRoutes();
  return true;
}

void WebServer::installRoutes() {
  httplib::Server& s = *server_;
  s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    using Answer = httplib::Server::HandlerResponse;
    guard::RequestFacts facts;
    facts.method = req.method;
    facts.target = req.target;
    facts.host = single(req, "Host");
    facts.origin = single(req, "Origin");
    facts.cookie = single(req, "Cookie");
    facts.contentType = single(req, "Content-Type");
    facts.secFetchSite = single(req, "Sec-Fetch-Site");
    for (const auto& [key, value] : req.headers) facts.headerBytes += key.size() + value.size() + 4;
    guard::Verdict v = guard::checkTransport(facts, guard_);
    bool viaQuery = false;
    if (v.passed()) v = guard::checkAccess(facts, guard_, &viaQuery);
    if (v.passed() && req.method == "POST") v = guard::checkInput(facts, guard_);
    if (!v.passed()) {
      refuse(res, v.status, v.reason);
      return Answer::Handled;
    }
    if (viaQuery) {
      /* The printed address: keep the token in a cookie that no other
      ** site's request carries, and take it out of the address bar. */
      res.status = 303;
      res.set_header("Set-Cookie", guard::cookieName(guard_.port) + "=" + guard_.token +
                                       "; Path=/; HttpOnly; SameSite=Strict");
      res.set_header("Location", "/");
      return Answer::Handled;
    }
    return Answer::Unhandled;
  });

  s.Get("/api/state", [this](const httplib::Request& req, httplib::Response& res) {
    static std::atomic<std::size_t> waiting{0};
    uint64_t since = 0;
    StateCopy copy;
    bool wait = req.has_param("since") && parseVersion(req.get_param_value("since"), &since) &&
                since == state_.version();
    if (wait && waiting.fetch_add(1) < limits_.longPolls)
      copy = state_.waitNewer(since, std::chrono::seconds(20));
    else
      copy = state_.read();
    if (wait) waiting.fetch_sub(1);
    res.set_content(copy.body, "application/json; charset=utf-8");
  });

  s.Post("/api/input", [this](const httplib::Request& req, httplib::Response& res) {
    json body = json::parse(req.body, nullptr, false);
    if (body.is_discarded() || !body.is_object() || !body.contains("action") ||
        !body["action"].is_string() || !body.contains("version") ||
        !body["version"].is_number_unsigned()) {
      answerJson(res, 400, {{"ok", false}, {"error", "input is {\"action\",\"version\",...}"}});
      return;
    }
    InputRequest request;
    request.version = body["version"].get<uint64_t>();
    request.action = std::move(body);
    request.outcome = std::make_shared<InputOutcome>();
    auto outcome = request.outcome;
    if (!queue_.push(std::move(request))) {
      answerJson(res, 503, {{"ok", false}, {"error", "too much input waiting"}});
      return;
    }
    if (!outcome->wait(std::chrono::seconds(10))) {
      answerJson(res, 202, {{"ok", true}, {"pending", true}});
      return;
    }
    std::lock_guard lock(outcome->mutex);
    json answer = {{"ok", outcome->status == 200}, {"version", outcome->version}};
    if (outcome->status != 200) answer["error"] = outcome->message;
    answerJson(res, outcome->status, answer);
  });

  s.Get(R"(/[a-z]*(\.[a-z]+)?)", [](const httplib::Request& req, httplib::Response& res) {
    std::string path = req.path == "/" ? "/index.html" : req.path;
    const WebAsset* asset = req.path == "/index.html" ? nullptr : findWebAsset(path);
    if (!asset) {
      refuse(res, 404, "not found");
      return;
    }
    if (path == "/index.html") res.set_header("Content-Security-Policy", kPagePolicy);
    res.set_content(reinterpret_cast<const char*>(asset->bytes), asset->size,
                    webAssetType(path));
  });

  s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty()) res.set_content("refused\n", "text/plain; charset=utf-8");
  });
}

void WebServer::start() {
  auto* gated = static_cast<GatedServer*>(server_.get());
  GateLimits limits;
  limits.workers = limits_.workers;
  limits.pendingRequests = limits_.pendingRequests;
  limits.openConnections = limits_.openConnections;
  limits.maxHeadBytes = limits_.maxHeaderBytes;
  limits.idleTimeout = std::chrono::milliseconds(limits_.idleMillis);
  std::size_t maxHead = limits_.maxHeaderBytes, maxBody = limits_.maxBodyBytes;
  std::chrono::milliseconds io = std::chrono::seconds(limits_.ioSeconds);
  gate_ = std::make_unique<ConnectionGate>(limits, [gated, maxHead, maxBody, io](Connection& c) {
    return gated->serveOne(c, maxHead, maxBody, io);
  });
  gated->useGate(gate_.get());
  thread_ = std::thread([this] { server_->listen_after_bind(); });
}

void WebServer::stop() {
  if (server_) server_->stop();
  if (thread_.joinable()) thread_.join();
  if (gate_) gate_->stop();
}

}  // namespace lumeno
