/*
** Runs the lumeno host with an automation script and collects its JSON
** lines and exit status, for end-to-end tests of plug-in pages.
*/
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

struct LumenoRun {
  int status = -1;
  std::vector<nlohmann::json> lines;

  std::vector<nlohmann::json> ofType(const std::string& type) const {
    std::vector<nlohmann::json> out;
    for (const auto& l : lines)
      if (l.value("type", "") == type) out.push_back(l);
    return out;
  }
  /* The HTML viewer's document in the first snapshot. */
  std::string firstDocument() const {
    for (const auto& s : ofType("snapshot"))
      for (const auto& w : s["dialogs"][0]["windows"])
        if (w["class"] == "DISPLAYCLASS") return w["html"];
    return "";
  }
};

inline LumenoRun runLumeno(const std::string& args, const std::string& script) {
  char path[] = "/tmp/lumeno-script-XXXXXX";
  int fd = mkstemp(path);
  if (fd >= 0) {
    FILE* f = fdopen(fd, "w");
    std::fputs(script.c_str(), f);
    std::fclose(f);
  }
  std::string command = std::string(LUMENO_BIN) + " run " + args + " --script " + path;
  LumenoRun run;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[1 << 16];
  std::string pending;
  size_t n;
  while (pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) pending.append(buffer, n);
  int rc = pipe ? pclose(pipe) : -1;
  run.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  size_t start = 0;
  while (start < pending.size()) {
    size_t end = pending.find('\n', start);
    if (end == std::string::npos) end = pending.size();
    std::string line = pending.substr(start, end - start);
    if (!line.empty()) run.lines.push_back(nlohmann::json::parse(line, nullptr, false));
    start = end + 1;
  }
  std::remove(path);
  return run;
}
