/*
** The browser-driven device session (see device_session.h).
*/
#include "serve/device_session.h"

#include <ctime>

#include "pf/host/device.h"
#include "pf/host/device_state.h"
#include "pf/host/trace.h"
#include "pf/host/user.h"
#include "pf/types.h"

namespace lumeno {

using nlohmann::json;

namespace {

/* Decodes strict UTF-8 (no overlong forms, no surrogates, nothing past
** U+10FFFF) into code points; false at the first invalid byte. */
bool decodeUtf8(const std::string& s, std::u32string* out) {
  std::size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<unsigned char>(s[i]);
    char32_t cp;
    int extra;
    if (b < 0x80) {
      cp = b;
      extra = 0;
    } else if (b >= 0xC2 && b <= 0xDF) {
      cp = b & 0x1Fu;
      extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      cp = b & 0x0Fu;
      extra = 2;
    } else if (b >= 0xF0 && b <= 0xF4) {
      cp = b & 0x07u;
      extra = 3;
    } else {
      return false;
    }
    if (extra > 0 && i + static_cast<std::size_t>(extra) >= s.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((c & 0xC0u) != 0x80u) return false;
      cp = (cp << 6) | (c & 0x3Fu);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    out->push_back(cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

bool intField(const json& a, const char* name, long long low, long long high, int32_t* out) {
  auto it = a.find(name);
  if (it == a.end() || !it->is_number_integer()) return false;
  long long v = it->get<long long>();
  if (v < low || v > high) return false;
  *out = static_cast<int32_t>(v);
  return true;
}

std::string todayText() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  return text;
}

}  // namespace

bool typedText(const std::string& utf8, std::u16string* out) {
  std::u32string points;
  if (!decodeUtf8(utf8, &points)) return false;
  out->clear();
  for (char32_t cp : points) {
    std::size_t units = cp >= 0x10000 ? 2 : 1;
    if (out->size() + units > kMaxTypedUnits) break;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out->push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out->push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out->push_back(static_cast<char16_t>(cp));
    }
  }
  return true;
}

std::string capDocument(const std::string& html, std::size_t limit, bool* cut) {
  *cut = html.size() > limit;
  if (!*cut) return html;
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(html[end]) & 0xC0u) == 0x80u) --end;
  return html.substr(0, end);
}

DeviceSession::DeviceSession(std::vector<LoadedPlugin> plugins, InputQueue& queue,
                             PublishedState& state)
    : plugins_(std::move(plugins)), pluginList_(json::array()), queue_(queue), state_(state) {
  for (const LoadedPlugin& p : plugins_) {
    const char16_t* name = p.exports.getName();
    pluginList_.push_back({{"library", p.name},
                           {"name", name ? pf::trace::utf8(name) : ""},
                           {"version", versionText(p.exports.getVersion())}});
  }
  publish();
}

json DeviceSession::buildState() const {
  const pf::host::DeviceConfig& cfg = pf::host::deviceConfig();
  json s = {{"mode", pageOpen_ ? "page" : "calendar"},
            {"today", todayText()},
            {"plugins", pluginList_},
            {"page", page_},
            {"lastResult", lastResult_},
            {"screen",
             {{"width", cfg.screenWidth},
              {"height", cfg.screenHeight},
              {"scale", pf::host::screenScale()},
              {"taskBar", pf::host::taskBarHeight()},
              {"menuBar", pf::host::menuBarHeight()}}}};
  if (pageOpen_) {
    json device = pf::host::snapshot();
    for (json& dialog : device["dialogs"])
      for (json& window : dialog["windows"])
        if (window.contains("html")) {
          bool cut = false;
          window["html"] = capDocument(window["html"].get<std::string>(), kMaxDocumentBytes, &cut);
          window["htmlTruncated"] = cut;
        }
    s["device"] = std::move(device);
  } else {
    s["device"] = nullptr;
  }
  return s;
}

void DeviceSession::publish() {
  uint64_t version =
      state_.publish(buildState().dump(-1, ' ', false, json::error_handler_t::replace));
  if (!awaiting_.empty()) {
    /* Input made before this state is stale from now on. */
    actedVersion_ = version;
    for (auto& outcome : awaiting_) outcome->complete(200, "", version);
    awaiting_.clear();
  }
}

bool DeviceSession::stale(const InputRequest& r) const {
  return r.version < actedVersion_ || r.version > state_.version();
}

void DeviceSession::run() {
  pf::host::setInputSource(this);
  while (std::optional<InputRequest> r = queue_.pop(std::nullopt)) {
    if (stale(*r)) {
      r->outcome->complete(409, "the state changed: reload it", state_.version());
      continue;
    }
    if (r->action.value("action", "") != "open") {
      r->outcome->complete(409, "no page is open", state_.version());
      continue;
    }
    try {
      openPage(*r);
    } catch (const json::exception&) {
      r->outcome->complete(400, "malformed input", state_.version());
    }
  }
  pf::host::setInputSource(nullptr);
}

void DeviceSession::openPage(InputRequest& r) {
  const json& a = r.action;
  std::string name = a.value("plugin", "");
  LoadedPlugin* plugin = nullptr;
  for (LoadedPlugin& p : plugins_)
    if (p.name == name) plugin = &p;
  if (!plugin) {
    r.outcome->complete(404, "no plug-in is listed as \"" + name + "\"", state_.version());
    return;
  }
  int32_t y, m, d;
  if (!intField(a, "year", 1, 9999, &y) || !intField(a, "month", 1, 12, &m) ||
      !intField(a, "day", 1, 31, &d)) {
    r.outcome->complete(400, "open needs year, month and day", state_.version());
    return;
  }
  char date[32];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", y, m, d);
  page_ = {{"plugin", name}, {"date", date}};
  pageOpen_ = true;
  awaiting_.push_back(r.outcome);
  pf::host::clearAbandon();
  int32_t result = plugin->exports.showDay(y, m, d);
  pf::host::runUntilIdle();
  pageOpen_ = false;
  lastResult_ = {{"plugin", name}, {"date", date}, {"showDay", result}};
  page_ = nullptr;
  publish();
}

pf::host::IdleResult DeviceSession::onIdle(
    std::optional<std::chrono::steady_clock::time_point> nextTimer) {
  if (queue_.closed()) return pf::host::IdleResult::Abandon;
  publish();
  std::optional<InputRequest> r = queue_.pop(nextTimer);
  if (!r) return queue_.closed() ? pf::host::IdleResult::Abandon : pf::host::IdleResult::Timeout;
  if (stale(*r)) {
    r->outcome->complete(409, "the state changed: reload it", state_.version());
    return pf::host::IdleResult::Handled;
  }
  /* The input may open a nested loop (a message box, a menu, a sub-dialog)
  ** that publishes before perform() returns: it waits for that publish. */
  awaiting_.push_back(r->outcome);
  std::optional<Refusal> refused;
  try {
    refused = perform(r->action);
  } catch (const json::exception&) {
    refused = Refusal{400, "malformed input"};
  }
  if (refused) {
    std::erase(awaiting_, r->outcome);
    r->outcome->complete(refused->status, refused->message, state_.version());
  }
  return pf::host::IdleResult::Handled;
}

std::optional<DeviceSession::Refusal> DeviceSession::perform(const json& a) {
  namespace user = pf::host::user;
  std::string action = a.value("action", "");
  std::string error;
  int32_t id = 0, index = 0;
  auto bad = [](std::string message) { return Refusal{400, std::move(message)}; };
  auto outcome = [&](bool ok) -> std::optional<Refusal> {
    if (ok) return std::nullopt;
    return Refusal{422, error};
  };
  if (action == "open") return Refusal{409, "a page is already open"};
  if (action == "softkey") {
    if (!intField(a, "index", 0, 1, &index)) return bad("softkey needs index 0 or 1");
    return outcome(user::pressSoftKey(index, &error));
  }
  if (action == "menu") {
    if (!intField(a, "command", 0, 0xFFFF, &id)) return bad("menu needs a command");
    return outcome(user::chooseMenu(static_cast<uint32_t>(id), &error));
  }
  if (action == "escape") return outcome(user::closeMenu(&error));
  if (action == "ok") return outcome(user::pressTitleOk(&error));
  if (action == "answer") {
    auto it = a.find("ok");
    if (it == a.end() || !it->is_boolean()) return bad("answer needs ok true or false");
    return outcome(user::answerMessageBox(it->get<bool>(), &error));
  }
  if (!intField(a, "id", -1, 0xFFFF, &id)) return bad(action + " needs a control id");
  if (action == "click") return outcome(user::clickButton(id, &error));
  if (action == "select") {
    if (!intField(a, "index", 0, 1 << 20, &index)) return bad("select needs an index");
    return outcome(user::selectItem(id, index, &error));
  }
  if (action == "tap") {
    if (!intField(a, "index", -1, 1 << 20, &index)) return bad("tap needs a row");
    return outcome(user::tapRow(id, index, &error));
  }
  if (action == "type") {
    auto it = a.find("text");
    std::u16string text;
    if (it == a.end() || !it->is_string() || !typedText(it->get<std::string>(), &text))
      return bad("type needs UTF-8 text");
    return outcome(user::typeText(id, text, &error));
  }
  if (action == "key") {
    static const std::pair<const char*, uint32_t> keys[] = {
        {"enter", PFK_ENTER}, {"left", PFK_LEFT}, {"right", PFK_RIGHT}, {"up", PFK_UP},
        {"down", PFK_DOWN}};
    std::string key = a.value("key", "");
    for (auto& [keyName, code] : keys)
      if (key == keyName) return outcome(user::pressKey(id, code, &error));
    return bad("key takes enter, left, right, up or down");
  }
  return bad("unknown action \"" + action + "\"");
}

}  // namespace lumeno
