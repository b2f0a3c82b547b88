/*
** Observation: the device's state as JSON. Dialogs are listed topmost first;
** each with its title, full-screen flags, title-bar OK, windows (class, id,
** text, rectangle, visible, enabled, focused and the control's own state),
** soft keys and the last paint's display list.
*/
#include "pf/host/device_state.h"

#include <utility>
#include <vector>

#include "core/dialog_state.h"
#include "core/loop.h"
#include "core/shell_internal.h"
#include "core/wm.h"
#include "pf/host/device.h"
#include "pf/host/trace.h"
#include "pf/window.h"

namespace {

using nlohmann::json;

json rectJson(const PfRect& r) { return json::array({r.left, r.top, r.right, r.bottom}); }

std::string hexColor(PfColor c) {
  char out[8];
  std::snprintf(out, sizeof out, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  return out;
}

json describeWindow(PfWnd h) {
  pf::wm::Window* w = pf::wm::find(h);
  json j = {{"hwnd", static_cast<uint32_t>(h)},
            {"class", pf::trace::utf8(w->cls->name)},
            {"id", w->id},
            {"text", pf::trace::utf8(w->text)},
            {"rect", rectJson(w->rect)},
            {"style", w->style},
            {"visible", pfIsWindowVisible(h)},
            {"enabled", w->enabled},
            {"focused", pfGetFocus() == h}};
  if (w->cls->describe) w->cls->describe(h, j);
  return j;
}

void describeTree(PfWnd h, json& out) {
  pf::wm::Window* w = pf::wm::find(h);
  if (!w) return;
  for (PfWnd c : w->children) {
    out.push_back(describeWindow(c));
    describeTree(c, out);
  }
}

json describePaint(const std::vector<pf::wm::DrawOp>& ops) {
  json list = json::array();
  for (const auto& op : ops) {
    switch (op.kind) {
      case pf::wm::DrawOp::Kind::Rectangle:
        list.push_back({{"op", "rectangle"}, {"rect", rectJson(op.rect)},
                        {"outline", hexColor(op.outline)}, {"fill", hexColor(op.fill)}});
        break;
      case pf::wm::DrawOp::Kind::Fill:
        list.push_back({{"op", "fill"}, {"rect", rectJson(op.rect)}, {"fill", hexColor(op.fill)}});
        break;
      case pf::wm::DrawOp::Kind::Text:
        list.push_back({{"op", "text"}, {"rect", rectJson(op.rect)},
                        {"text", pf::trace::utf8(op.text)}, {"color", hexColor(op.textColor)},
                        {"transparent", op.transparent}, {"format", op.format}});
        break;
    }
  }
  return list;
}

json describeDialog(PfWnd h) {
  pf::wm::Window* w = pf::wm::find(h);
  pf::wm::DialogState* d = w->dialog;
  json j = {{"hwnd", static_cast<uint32_t>(h)},
            {"title", pf::trace::utf8(w->text)},
            {"rect", rectJson(w->rect)},
            {"enabled", w->enabled},
            {"fullScreenFlags", d->fullScreenFlags},
            {"okButton", d->okButton}};
  PfRect client;
  pfGetClientRect(h, &client);
  j["client"] = rectJson(client);
  json windows = json::array();
  describeTree(h, windows);
  j["windows"] = std::move(windows);
  json keys = json::array();
  if (const auto* softKeys = pf::shell::softKeys(pf::shell::menuBarOf(h)))
    for (const auto& k : *softKeys)
      keys.push_back({{"caption", pf::trace::utf8(k.caption)},
                      {"command", k.command},
                      {"hidden", k.hidden},
                      {"popup", k.popup}});
  j["softKeys"] = std::move(keys);
  j["paint"] = describePaint(w->lastPaint);
  return j;
}

}  // namespace

namespace pf::host {

json snapshot() {
  pf::wm::ensureSystemClasses();
  json dialogs = json::array();
  std::vector<PfWnd> open = pf::wm::openDialogs();
  for (auto it = open.rbegin(); it != open.rend(); ++it) dialogs.push_back(describeDialog(*it));
  const DeviceConfig& cfg = deviceConfig();
  json j = {{"screen", {{"width", cfg.screenWidth}, {"height", cfg.screenHeight}}},
            {"dialogs", std::move(dialogs)}};
  PfWnd box = pf::shell::topmostMessageBox();
  j["messageBox"] = box == PfWnd::none ? json(nullptr) : pf::shell::describeMessageBox(box);
  if (pf::shell::OpenMenu* m = pf::shell::openMenu(); m && !m->done)
    j["menu"] = {{"items", pf::shell::describeMenu(m->menu)}};
  else
    j["menu"] = nullptr;
  return j;
}

json leftovers() {
  json windows = json::array();
  for (PfWnd h : pf::wm::allWindows()) {
    pf::wm::Window* w = pf::wm::find(h);
    const auto& name = w->cls->name;
    if (pf::wm::sameName(name, u"PfDesktop") || pf::wm::sameName(name, u"HHTaskBar") ||
        pf::wm::sameName(name, u"LumenoCalendar"))
      continue;
    windows.push_back({{"hwnd", static_cast<uint32_t>(h)},
                       {"class", pf::trace::utf8(name)},
                       {"id", w->id}});
  }
  json timers = json::array();
  for (auto& [wnd, id] : pf::clockwork::runningTimers())
    timers.push_back({{"hwnd", static_cast<uint32_t>(wnd)}, {"id", id}});
  return {{"windows", std::move(windows)}, {"timers", std::move(timers)}};
}

PfWnd topmostDialog() {
  std::vector<PfWnd> open = pf::wm::openDialogs();
  return open.empty() ? PfWnd::none : open.back();
}

bool menuIsOpen() {
  pf::shell::OpenMenu* m = pf::shell::openMenu();
  return m && !m->done;
}

bool messageBoxIsOpen() { return pf::shell::topmostMessageBox() != PfWnd::none; }

PfWnd taskBarWindow() { return pf::shell::taskBar(); }

}  // namespace pf::host
