/*
** Round trip of one input through the emulator: the POST that carries it,
** the user-interface thread performing it, the new state published, and
** the GET that reads that state, as the page does after every input. The
** input alternates between opening the almanac's About box and closing it,
** so every round trip changes the state.
*/
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

namespace {

using nlohmann::json;

struct Emulator {
  pid_t pid = -1;
  int port = 0;
  std::string cookie;
  std::string home;
};

Emulator start() {
  Emulator e;
  char pattern[] = "/tmp/lumeno-bench-XXXXXX";
  e.home = mkdtemp(pattern);
  int out[2];
  if (pipe(out) != 0) std::abort();
  e.pid = fork();
  if (e.pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    setenv("XDG_DATA_HOME", e.home.c_str(), 1);
    execl(LUMENO_BIN, LUMENO_BIN, "serve", "--port", "0", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string line;
  char c;
  while (read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
  close(out[0]);
  auto colon = line.rfind(':');
  e.port = std::atoi(line.c_str() + colon + 1);
  e.cookie = "lumeno_token_" + std::to_string(e.port) + "=" + line.substr(line.find("token=") + 6);
  return e;
}

void stop(Emulator& e) {
  kill(e.pid, SIGTERM);
  waitpid(e.pid, nullptr, 0);
  std::filesystem::remove_all(e.home);
}

void BM_InputToPublishedState(benchmark::State& state) {
  Emulator e = start();
  std::string origin = "http://127.0.0.1:" + std::to_string(e.port);
  httplib::Client client("127.0.0.1", e.port);
  client.set_keep_alive(true);
  client.set_read_timeout(30, 0);
  client.set_tcp_nodelay(true);
  httplib::Headers headers = {{"Cookie", e.cookie}, {"Origin", origin}};
  auto input = [&](json action, uint64_t version) -> uint64_t {
    action["version"] = version;
    auto r = client.Post("/api/input", headers, action.dump(), "application/json");
    if (!r || r->status != 200) {
      state.SkipWithError(("input refused: " + (r ? std::to_string(r->status) + " " + r->body : httplib::to_string(r.error()))).c_str());
      return version;
    }
    return json::parse(r->body)["version"].get<uint64_t>();
  };
  auto read = [&] {
    auto r = client.Get("/api/state", headers);
    return r ? json::parse(r->body) : json();
  };
  uint64_t version = read()["version"].get<uint64_t>();
  version = input({{"action", "open"}, {"plugin", "LM_almanac"}, {"year", 2007}, {"month", 10},
                   {"day", 26}},
                  version);
  bool boxOpen = false;
  for (auto _ : state) {
    version = boxOpen ? input({{"action", "answer"}, {"ok", true}}, version)
                      : input({{"action", "softkey"}, {"index", 1}}, version);
    json now = read();
    boxOpen = !boxOpen;
    if (now["device"]["messageBox"].is_null() == boxOpen) state.SkipWithError("state not published");
    benchmark::DoNotOptimize(now);
  }
  if (boxOpen) input({{"action", "answer"}, {"ok", true}}, version);
  stop(e);
}
BENCHMARK(BM_InputToPublishedState)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
