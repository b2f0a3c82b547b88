/*
** The emulator's server as a hostile client sees it, through raw sockets
** (where a browser could not forge the headers): every request that does
** not come from the page itself is refused with a 4xx and changes nothing.
*/
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Server {
  pid_t pid = -1;
  int port = 0;
  std::string token;
  std::string firstLine;
  fs::path home;
};

/* Starts `lumeno serve` with the given port argument and reads the first
** line of its output; the process is left running. */
Server startServer(const std::string& port, int* exitStatus = nullptr) {
  Server s;
  char pattern[] = "/tmp/lumeno-protocol-XXXXXX";
  s.home = mkdtemp(pattern);
  int out[2];
  if (pipe(out) != 0) return s;
  s.pid = fork();
  if (s.pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    int devnull = open("/dev/null", 1);
    dup2(devnull, 2);
    setenv("XDG_DATA_HOME", s.home.c_str(), 1);
    execl(LUMENO_BIN, LUMENO_BIN, "serve", "--port", port.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  char c;
  while (read(out[0], &c, 1) == 1 && c != '\n') s.firstLine.push_back(c);
  close(out[0]);
  auto colon = s.firstLine.rfind(':');
  auto slash = s.firstLine.find('/', colon == std::string::npos ? 0 : colon);
  if (colon != std::string::npos && slash != std::string::npos)
    s.port = std::atoi(s.firstLine.substr(colon + 1, slash - colon - 1).c_str());
  auto eq = s.firstLine.find("token=");
  if (eq != std::string::npos) s.token = s.firstLine.substr(eq + 6);
  if (exitStatus && s.port == 0) {
    int status = 0;
    waitpid(s.pid, &status, 0);
    *exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    s.pid = -1;
  }
  return s;
}

void stopServer(Server& s) {
  if (s.pid > 0) {
    kill(s.pid, SIGTERM);
    waitpid(s.pid, nullptr, 0);
    s.pid = -1;
  }
  std::error_code ec;
  fs::remove_all(s.home, ec);
}

/* Sends raw bytes and returns the whole answer (the server closes or the
** read times out). */
std::string roundTrip(int port, const std::string& request) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    close(fd);
    return "";
  }
  timeval timeout{3, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  size_t sent = 0;
  while (sent < request.size()) {
    ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  /* Read the head, then as much body as it announces. */
  std::string answer;
  char buffer[4096];
  ssize_t n;
  size_t wanted = std::string::npos;
  while (answer.size() < wanted && (n = recv(fd, buffer, sizeof buffer, 0)) > 0) {
    answer.append(buffer, static_cast<size_t>(n));
    auto end = answer.find("\r\n\r\n");
    if (end != std::string::npos && wanted == std::string::npos) {
      auto length = answer.find("Content-Length: ");
      wanted = end + 4 + (length != std::string::npos && length < end
                              ? std::strtoul(answer.c_str() + length + 16, nullptr, 10)
                              : 0);
    }
  }
  close(fd);
  return answer;
}

/* A connected socket to the server, or -1. */
int connectTo(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

void sendAll(int fd, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return; /* the server may refuse and close before the end */
    sent += static_cast<size_t>(n);
  }
}

/* What the server did with a connection within `limit`: its answer's start,
** whether it closed the connection, and when it first did either. */
struct Reaction {
  std::string answer;
  bool closed = false;
  std::chrono::milliseconds after{0};
};

Reaction awaitReaction(int fd, std::chrono::milliseconds limit) {
  using Clock = std::chrono::steady_clock;
  auto start = Clock::now();
  Reaction r;
  for (;;) {
    auto left = limit - std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    pollfd p{fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[4096];
    ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    r.after = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    if (n <= 0) {
      r.closed = true;
      break;
    }
    r.answer.append(buffer, static_cast<size_t>(n));
    if (r.answer.find("\r\n\r\n") != std::string::npos) break;
  }
  return r;
}

int statusOf(const std::string& answer) {
  if (answer.size() < 12 || answer.compare(0, 5, "HTTP/") != 0) return 0;
  return std::atoi(answer.substr(9, 3).c_str());
}

std::string bodyOf(const std::string& answer) {
  auto end = answer.find("\r\n\r\n");
  return end == std::string::npos ? "" : answer.substr(end + 4);
}

class EmulatorProtocol : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = startServer("0"); }
  static void TearDownTestSuite() { stopServer(server_); }

  std::string host() const { return "127.0.0.1:" + std::to_string(server_.port); }
  std::string cookie() const {
    return "lumeno_token_" + std::to_string(server_.port) + "=" + server_.token;
  }
  std::string post(const std::string& body, const std::string& origin, const std::string& extra = "") {
    return "POST /api/input HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() +
           "\r\nOrigin: " + origin + "\r\nContent-Type: application/json\r\n" + extra +
           "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
  }
  nlohmann::json state() {
    std::string answer = roundTrip(server_.port, "GET /api/state HTTP/1.1\r\nHost: " + host() +
                                                   "\r\nCookie: " + cookie() +
                                                   "\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(statusOf(answer), 200) << answer;
    return nlohmann::json::parse(bodyOf(answer), nullptr, false);
  }
  static Server server_;
};

Server EmulatorProtocol::server_;

TEST_F(EmulatorProtocol, FirstLineIsTheAddressWithItsToken) {
  ASSERT_GT(server_.port, 0) << server_.firstLine;
  EXPECT_EQ(server_.firstLine,
            "http://127.0.0.1:" + std::to_string(server_.port) + "/?token=" + server_.token);
  EXPECT_EQ(server_.token.size(), 64u);
  /* The printed address sets a strict, script-proof cookie. */
  std::string answer = roundTrip(server_.port, "GET /?token=" + server_.token +
                                                  " HTTP/1.1\r\nHost: " + host() +
                                                  "\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(statusOf(answer), 303) << answer;
  EXPECT_NE(answer.find("Set-Cookie: " + cookie() + "; Path=/; HttpOnly; SameSite=Strict"),
            std::string::npos)
      << answer;
}

TEST_F(EmulatorProtocol, EveryAnswerForbidsSniffingCachingAndFraming) {
  std::string page = roundTrip(server_.port, "GET / HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " +
                                                cookie() + "\r\nConnection: close\r\n\r\n");
  std::string refused = roundTrip(server_.port, "GET / HTTP/1.1\r\nHost: evil.example:" +
                                                   std::to_string(server_.port) +
                                                   "\r\nConnection: close\r\n\r\n");
  ASSERT_EQ(statusOf(page), 200);
  for (const std::string& answer : {page, refused}) {
    EXPECT_NE(answer.find("X-Content-Type-Options: nosniff"), std::string::npos) << answer;
    EXPECT_NE(answer.find("Cache-Control: no-store"), std::string::npos) << answer;
    EXPECT_NE(answer.find("frame-ancestors 'none'"), std::string::npos) << answer;
    EXPECT_EQ(answer.find("Access-Control-Allow"), std::string::npos) << answer;
  }
  EXPECT_NE(page.find("script-src 'self'; "), std::string::npos);
  EXPECT_NE(page.find("object-src 'none'"), std::string::npos);
}

TEST_F(EmulatorProtocol, HostileRequestsAreRefusedAndChangeNothing) {
  nlohmann::json before = state();
  ASSERT_EQ(before.value("mode", ""), "calendar");
  const std::string open =
      R"({"action":"open","plugin":"LM_almanac","year":2007,"month":10,"day":26,"version":)" +
      std::to_string(before["version"].get<uint64_t>()) + "}";
  const std::string port = std::to_string(server_.port);
  const std::string origin = "http://" + host();
  struct Case {
    const char* what;
    std::string request;
  };
  const Case cases[] = {
      {"foreign Host (DNS rebinding)",
       "GET /api/state HTTP/1.1\r\nHost: evil.example:" + port + "\r\nCookie: " + cookie() +
           "\r\n\r\n"},
      {"Host without the port",
       "GET /api/state HTTP/1.1\r\nHost: 127.0.0.1\r\nCookie: " + cookie() + "\r\n\r\n"},
      {"two Host headers",
       "GET /api/state HTTP/1.1\r\nHost: " + host() + "\r\nHost: evil.example\r\nCookie: " +
           cookie() + "\r\n\r\n"},
      {"missing token", "GET /api/state HTTP/1.1\r\nHost: " + host() + "\r\n\r\n"},
      {"wrong token",
       "GET /api/state HTTP/1.1\r\nHost: " + host() + "\r\nCookie: lumeno_token_" + port +
           "=" + std::string(64, 'a') + "\r\n\r\n"},
      {"token in the query of another path",
       "GET /api/state?token=" + server_.token + " HTTP/1.1\r\nHost: " + host() + "\r\n\r\n"},
      {"input without token",
       "POST /api/input HTTP/1.1\r\nHost: " + host() + "\r\nOrigin: " + origin +
           "\r\nContent-Type: application/json\r\nContent-Length: " +
           std::to_string(open.size()) + "\r\n\r\n" + open},
      {"input from a wrong Origin", post(open, "http://evil.example")},
      {"input from the other loopback name", post(open, "http://localhost:" + port)},
      {"input without Origin",
       "POST /api/input HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() +
           "\r\nContent-Type: application/json\r\nContent-Length: " +
           std::to_string(open.size()) + "\r\n\r\n" + open},
      {"cross-site form post",
       "POST /api/input HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() +
           "\r\nOrigin: " + origin +
           "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
           std::to_string(open.size()) + "\r\n\r\n" + open},
      {"cross-site fetch", post(open, origin, "Sec-Fetch-Site: cross-site\r\n")},
      {"input by GET",
       "GET /api/input HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() + "\r\n\r\n"},
      {"traversal",
       "GET /../../etc/passwd HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() +
           "\r\n\r\n"},
      {"encoded traversal",
       "GET /%2e%2e/%2e%2e/etc/passwd HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() +
           "\r\n\r\n"},
      {"encoded slash",
       "GET /..%2fetc%2fpasswd HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() +
           "\r\n\r\n"},
      {"encoded NUL",
       "GET /main.js%00.html HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() +
           "\r\n\r\n"},
      {"absolute-form target",
       "GET http://" + host() + "/api/state HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " +
           cookie() + "\r\n\r\n"},
      {"a file that is not an asset",
       "GET /CMakeLists.txt HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() +
           "\r\n\r\n"},
      {"oversized body", post(std::string(64 * 1024, ' ') + open, origin)},
      {"oversized chunked body",
       "POST /api/input HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() +
           "\r\nOrigin: " + origin +
           "\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n" + [&] {
             std::string body = std::string(64 * 1024, ' ') + open, chunked;
             for (size_t at = 0; at < body.size(); at += 1000) {
               std::string piece = body.substr(at, 1000);
               char size[16];
               std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
               chunked += size + piece + "\r\n";
             }
             return chunked + "0\r\n\r\n";
           }()},
      {"oversized headers",
       "GET /api/state HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() + "\r\n" +
           [] {
             std::string many;
             for (int i = 0; i < 40; ++i) many += "X-Filler-" + std::to_string(i) + ": " + std::string(1000, 'x') + "\r\n";
             return many;
           }() + "\r\n"},
      {"oversized target",
       "GET /" + std::string(20000, 'a') + " HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " +
           cookie() + "\r\n\r\n"},
  };
  for (const Case& c : cases) {
    std::string answer = roundTrip(server_.port, c.request);
    int status = statusOf(answer);
    EXPECT_TRUE(status >= 400 && status < 500) << c.what << ":\n" << answer.substr(0, 300);
    EXPECT_EQ(answer.find("root:"), std::string::npos) << c.what;
  }
  nlohmann::json after = state();
  EXPECT_EQ(after["version"], before["version"]);
  EXPECT_EQ(after.value("mode", ""), "calendar");

  /* The same input from the page itself is taken: the refusals above were
  ** not an accident of the request's form. */
  std::string answer = roundTrip(server_.port, post(open, origin));
  ASSERT_EQ(statusOf(answer), 200) << answer;
  nlohmann::json opened = state();
  EXPECT_EQ(opened.value("mode", ""), "page");
  uint64_t now = opened["version"].get<uint64_t>();

  /* Input made on a state that has since changed is stale. */
  std::string back = R"({"action":"softkey","index":0,"version":)" +
                     std::to_string(before["version"].get<uint64_t>()) + "}";
  EXPECT_EQ(statusOf(roundTrip(server_.port, post(back, origin))), 409);
  EXPECT_EQ(state().value("mode", ""), "page");
  /* Input the platform refuses: a message box that is not there. */
  std::string answerBox = R"({"action":"answer","ok":true,"version":)" + std::to_string(now) + "}";
  std::string refused = roundTrip(server_.port, post(answerBox, origin));
  EXPECT_EQ(statusOf(refused), 422) << refused;
  EXPECT_NE(bodyOf(refused).find("error"), std::string::npos);
  /* Back closes the page; the calendar shows what showDay returned. */
  back = R"({"action":"softkey","index":0,"version":)" + std::to_string(now) + "}";
  ASSERT_EQ(statusOf(roundTrip(server_.port, post(back, origin))), 200);
  nlohmann::json closed = state();
  EXPECT_EQ(closed.value("mode", ""), "calendar");
  EXPECT_EQ(closed["lastResult"]["showDay"], 40002);
}

TEST_F(EmulatorProtocol, AnOpenPageIsOnlyOpenedByItsListedName) {
  uint64_t v = state()["version"].get<uint64_t>();
  std::string body = R"({"action":"open","plugin":"../plugins/LM_almanac","year":2007,"month":10,"day":26,"version":)" +
                     std::to_string(v) + "}";
  std::string answer = roundTrip(server_.port, post(body, "http://" + host()));
  EXPECT_EQ(statusOf(answer), 404) << answer;
  EXPECT_EQ(state().value("mode", ""), "calendar");
}

/* The request head is bounded while it is read: a head that passes 16 KiB
** is refused at once, whether it came in one piece or line by line, and
** even while the client still holds the connection open for more. */
TEST_F(EmulatorProtocol, AnEndlessHeadIsRefusedAsSoonAsItPassesTheBound) {
  const std::string start =
      "GET /api/state HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() + "\r\n";
  std::vector<std::string> lines;
  for (int i = 0; i < 4000; ++i) lines.push_back("X-" + std::to_string(i) + ": y\r\n"); /* ~40 KiB */
  for (bool lineByLine : {false, true}) {
    SCOPED_TRACE(lineByLine ? "line by line" : "in one piece");
    int fd = connectTo(server_.port);
    ASSERT_GE(fd, 0);
    sendAll(fd, start);
    std::string all;
    for (const std::string& line : lines) {
      if (lineByLine)
        sendAll(fd, line);
      else
        all += line;
    }
    if (!lineByLine) sendAll(fd, all);
    /* No blank line: the head never ends; the 5 s read timeout is not
    ** what ends it. */
    Reaction r = awaitReaction(fd, std::chrono::milliseconds(3000));
    close(fd);
    EXPECT_TRUE(r.closed || statusOf(r.answer) == 431) << r.answer;
    EXPECT_LT(r.after.count(), 1000);
  }
  /* A head just under the bound is served, and the server goes on. */
  std::string filler;
  for (int i = 0; filler.size() < 15 * 1024; ++i) filler += "X-" + std::to_string(i) + ": y\r\n";
  std::string answer =
      roundTrip(server_.port, start + filler + "Connection: close\r\n\r\n");
  EXPECT_EQ(statusOf(answer), 200) << answer.substr(0, 300);
  EXPECT_EQ(state().value("mode", ""), "calendar");
}

/* Connections that send nothing, or half a head, take no worker: with many
** more of them open than the server holds, a request from the page is still
** answered at once, and the idle ones are dropped after a short while. */
TEST_F(EmulatorProtocol, IdleConnectionsNeitherStallRequestsNorStay) {
  std::vector<int> idle;
  for (int i = 0; i < 150; ++i) {
    int fd = connectTo(server_.port);
    ASSERT_GE(fd, 0);
    if (i % 2) sendAll(fd, "GET /api/state HTTP/1.1\r\nHost: " + host() + "\r\n");
    idle.push_back(fd);
  }
  int fd = connectTo(server_.port);
  ASSERT_GE(fd, 0);
  sendAll(fd, "GET /api/state HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() +
                  "\r\nConnection: close\r\n\r\n");
  Reaction page = awaitReaction(fd, std::chrono::milliseconds(3000));
  close(fd);
  EXPECT_EQ(statusOf(page.answer), 200) << page.answer;
  EXPECT_LT(page.after.count(), 1000);

  /* Every idle connection is closed by the server within a few seconds. */
  int stillOpen = 0;
  for (int i : idle) {
    Reaction r = awaitReaction(i, std::chrono::milliseconds(4000));
    if (!r.closed && statusOf(r.answer) != 503) ++stillOpen;
    close(i);
  }
  EXPECT_EQ(stillOpen, 0);
}

/* Requests that follow each other on one connection, even sent in one
** piece, are each answered. */
TEST_F(EmulatorProtocol, RequestsOnOneConnectionAreEachAnswered) {
  const std::string get =
      "GET /api/state HTTP/1.1\r\nHost: " + host() + "\r\nCookie: " + cookie() + "\r\n";
  int fd = connectTo(server_.port);
  ASSERT_GE(fd, 0);
  sendAll(fd, get + "\r\n" + get + "Connection: close\r\n\r\n");
  std::string answer;
  timeval timeout{3, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  char buffer[4096];
  ssize_t n;
  while ((n = recv(fd, buffer, sizeof buffer, 0)) > 0) answer.append(buffer, static_cast<size_t>(n));
  close(fd);
  auto second = answer.find("HTTP/1.1 200", 1);
  EXPECT_EQ(statusOf(answer), 200) << answer.substr(0, 300);
  ASSERT_NE(second, std::string::npos) << answer.substr(0, 300);
  EXPECT_EQ(statusOf(answer.substr(second)), 200);
}

TEST(EmulatorPort, ATakenPortFailsAtOnceWithAClearMessage) {
  Server first = startServer("0");
  ASSERT_GT(first.port, 0);
  int status = 0;
  Server second = startServer(std::to_string(first.port), &status);
  EXPECT_EQ(second.port, 0);
  EXPECT_NE(status, 0);
  stopServer(second);
  stopServer(first);
}

}  // namespace
