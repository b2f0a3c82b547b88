/*
** The automation script runner. Steps are read one at a time: while a page
** is open, when its message loop is idle; after the page has closed, between
** visits. Output is JSON lines (see docs/automation.md).
*/
#include "automation.h"

#include "options.h"

#include <cstdio>
#include <iostream>
#include <sstream>

#include "pf/files.h"
#include "pf/host/device.h"
#include "pf/host/faults.h"
#include "pf/host/device_state.h"
#include "pf/host/trace.h"
#include "pf/host/user.h"
#include "pf/types.h"

namespace lumeno {

using nlohmann::json;

void printJson(const json& j) {
  std::string line = j.dump(-1, ' ', false, json::error_handler_t::replace);
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

namespace {

bool parseInt(const std::string& text, long long low, long long high, long long* out) {
  if (text.empty()) return false;
  size_t used = 0;
  try {
    long long v = std::stoll(text, &used, 10);
    if (used != text.size() || v < low || v > high) return false;
    *out = v;
    return true;
  } catch (...) {
    return false;
  }
}

bool fail(std::string* error, std::string message) {
  *error = std::move(message);
  return false;
}

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  std::string w;
  while (in >> w) out.push_back(w);
  return out;
}

/* The rest of the line after the first `count` words, for `type`. */
std::string restAfter(const std::string& line, int count) {
  size_t pos = 0;
  for (int i = 0; i < count; ++i) {
    pos = line.find_first_not_of(" \t", pos);
    pos = line.find_first_of(" \t", pos);
    if (pos == std::string::npos) return "";
  }
  return pos + 1 <= line.size() ? line.substr(pos + 1) : "";
}

}  // namespace

ScriptRunner::ScriptRunner(std::istream& in, LoadedPlugin& plugin, const RunOptions& options)
    : in_(in), plugin_(plugin), options_(options) {}

int32_t ScriptRunner::visit(int32_t year, int32_t month, int32_t day) {
  pf::host::clearAbandon();
  int32_t result = plugin_.exports.showDay(year, month, day);
  json last = pf::host::leftovers();
  last["type"] = "result";
  last["showDay"] = result;
  printJson(last);
  return result;
}

int ScriptRunner::run() {
  pf::host::setInputSource(this);
  visit(options_.year, options_.month, options_.day);
  while (!failed_ && !leftOpen_) {
    if (nextStep(false) == StepResult::EndOfScript) break;
    pf::host::runUntilIdle();
  }
  pf::host::setInputSource(nullptr);
  if (failed_) return 2;
  if (leftOpen_) return 1;
  return 0;
}

pf::host::IdleResult ScriptRunner::onIdle(std::optional<std::chrono::steady_clock::time_point>) {
  if (failed_ || leftOpen_) return pf::host::IdleResult::Abandon;
  switch (nextStep(true)) {
    case StepResult::Done:
      return pf::host::IdleResult::Handled;
    case StepResult::Failed:
      return pf::host::IdleResult::Abandon;
    case StepResult::EndOfScript: {
      json last = pf::host::snapshot();
      last["type"] = "snapshot";
      last["final"] = true;
      printJson(last);
      std::fprintf(stderr, "lumeno: the script ended with the page still open\n");
      leftOpen_ = true;
      return pf::host::IdleResult::Abandon;
    }
  }
  return pf::host::IdleResult::Abandon;
}

ScriptRunner::StepResult ScriptRunner::nextStep(bool pageOpen) {
  std::string line;
  while (std::getline(in_, line)) {
    ++lineNumber_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::string error;
    if (runStep(line.substr(first), pageOpen, &error)) return StepResult::Done;
    printJson({{"type", "error"}, {"line", lineNumber_}, {"step", line}, {"message", error}});
    std::fprintf(stderr, "lumeno: script line %d (%s): %s\n", lineNumber_, line.c_str(),
                 error.c_str());
    failed_ = true;
    return StepResult::Failed;
  }
  return StepResult::EndOfScript;
}

bool ScriptRunner::runStep(const std::string& line, bool pageOpen, std::string* error) {
  namespace user = pf::host::user;
  std::vector<std::string> w = words(line);
  const std::string& step = w[0];
  size_t args = w.size() - 1;
  long long a = 0, b = 0, c = 0;
  auto needPage = [&] {
    if (!pageOpen) return fail(error, "no page is open");
    return true;
  };
  auto needClosed = [&] {
    if (pageOpen) return fail(error, "\"" + step + "\" needs the page to be closed");
    return true;
  };
  auto arity = [&](size_t low, size_t high) {
    if (args < low || args > high)
      return fail(error, "\"" + step + "\" takes " +
                             (low == high ? std::to_string(low) : std::to_string(low) + " to " +
                                                                      std::to_string(high)) +
                             " argument(s)");
    return true;
  };
  auto intArg = [&](size_t i, long long low, long long high, long long* out, const char* what) {
    if (!parseInt(w[i], low, high, out))
      return fail(error, std::string("bad ") + what + " \"" + w[i] + "\"");
    return true;
  };

  if (step == "snapshot") {
    if (!arity(0, 0)) return false;
    json s = pf::host::snapshot();
    s["type"] = "snapshot";
    printJson(s);
    return true;
  }
  if (step == "tick") {
    if (!arity(0, 1)) return false;
    long long seconds = 1;
    if (args == 1 && !intArg(1, 1, 86400 * 366, &seconds, "number of seconds")) return false;
    pf::host::advanceClock(seconds * 1000);
    return true;
  }
  if (step == "paint") return arity(0, 0) && needPage() && user::repaintTopmost(error);
  if (step == "softkey") {
    if (!arity(1, 1) || !needPage()) return false;
    if (w[1] != "left" && w[1] != "right") return fail(error, "softkey takes left or right");
    return user::pressSoftKey(w[1] == "left" ? 0 : 1, error);
  }
  if (step == "menu") {
    return arity(1, 1) && needPage() && intArg(1, 0, 0xFFFF, &a, "command") &&
           user::chooseMenu(static_cast<uint32_t>(a), error);
  }
  if (step == "escape") return arity(0, 0) && needPage() && user::closeMenu(error);
  if (step == "ok") return arity(0, 0) && needPage() && user::pressTitleOk(error);
  if (step == "click") {
    return arity(1, 1) && needPage() && intArg(1, -1, 0xFFFF, &a, "control id") &&
           user::clickButton(static_cast<int32_t>(a), error);
  }
  if (step == "select") {
    return arity(2, 2) && needPage() && intArg(1, -1, 0xFFFF, &a, "control id") &&
           intArg(2, 0, 1 << 20, &b, "index") &&
           user::selectItem(static_cast<int32_t>(a), static_cast<int32_t>(b), error);
  }
  if (step == "type") {
    if (args < 1 || !needPage() || !intArg(1, -1, 0xFFFF, &a, "control id")) {
      if (args < 1) return fail(error, "type takes a control id and the text");
      return false;
    }
    return user::typeText(static_cast<int32_t>(a), pf::trace::utf16(restAfter(line, 2)), error);
  }
  if (step == "key") {
    if (!arity(2, 2) || !needPage() || !intArg(1, -1, 0xFFFF, &a, "control id")) return false;
    static const std::pair<const char*, uint32_t> keys[] = {
        {"enter", PFK_ENTER}, {"left", PFK_LEFT}, {"right", PFK_RIGHT}, {"up", PFK_UP},
        {"down", PFK_DOWN}};
    for (auto& [name, code] : keys)
      if (w[2] == name) return user::pressKey(static_cast<int32_t>(a), code, error);
    return fail(error, "key takes enter, left, right, up or down");
  }
  if (step == "tap") {
    return arity(2, 2) && needPage() && intArg(1, -1, 0xFFFF, &a, "control id") &&
           intArg(2, -1, 1 << 20, &b, "row") &&
           user::tapRow(static_cast<int32_t>(a), static_cast<int32_t>(b), error);
  }
  if (step == "command") {
    if (!arity(1, 3) || !needPage() || !intArg(1, 0, 0xFFFF, &a, "command id")) return false;
    if (args >= 2 && !intArg(2, 0, 0xFFFF, &b, "notification code")) return false;
    if (args >= 3 && !intArg(3, INT32_MIN, INT32_MAX, &c, "lParam")) return false;
    return user::sendCommand(static_cast<int32_t>(a), static_cast<uint16_t>(b),
                             static_cast<PfLParam>(c), error);
  }
  if (step == "answer") {
    if (!arity(1, 1) || !needPage()) return false;
    if (w[1] != "ok" && w[1] != "cancel") return fail(error, "answer takes ok or cancel");
    return user::answerMessageBox(w[1] == "ok", error);
  }
  if (step == "visit") {
    if (!arity(0, 1) || !needClosed()) return false;
    int32_t y = options_.year, m = options_.month, d = options_.day;
    if (args == 1 && !parseDate(w[1], &y, &m, &d))
      return fail(error, "bad date \"" + w[1] + "\" (Y-M-D)");
    visit(y, m, d);
    return !failed_;
  }
  if (step == "version") {
    if (!arity(0, 0) || !needClosed()) return false;
    int32_t v = plugin_.exports.getVersion();
    printJson({{"type", "version"}, {"value", v}, {"text", versionText(v)}});
    return true;
  }
  if (step == "name") {
    if (!arity(0, 0) || !needClosed()) return false;
    const char16_t* name = plugin_.exports.getName();
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(name));
    printJson({{"type", "name"},
               {"value", name ? pf::trace::utf8(name) : ""},
               {"address", address}});
    return true;
  }
  if (step == "fault") {
    if (!arity(2, 2) || !needClosed()) return false;
    if (w[2] != "on" && w[2] != "off") return fail(error, "fault takes NAME on|off");
    return pf::faults::set(w[1], w[2] == "on", error);
  }
  if (step == "rm") {
    if (!arity(1, 1) || !needClosed()) return false;
    if (!pfFileDelete(pf::trace::utf16(w[1]).c_str()))
      return fail(error, "cannot delete device file \"" + w[1] + "\"");
    return true;
  }
  return fail(error, "unknown step \"" + step + "\"");
}

}  // namespace lumeno
