/*
** The soft-key menu bar, built from a module's RCDATA words and string
** table: the id of the menu whose pop-ups the buttons open, the number of
** buttons, then seven words per button (image, command, state, style,
** caption string id, 0, pop-up index). Plain buttons send their command with
** lParam 0; pop-up buttons open their pop-up. State 8 hides a button. The
** pop-ups are loaded afresh for each bar, with the resource's check marks.
*/
#include <cstring>
#include <vector>

#include "core/dialog_state.h"
#include "core/shell_internal.h"
#include "core/wm.h"
#include "pf/host/device.h"
#include "pf/host/trace.h"
#include "pf/module.h"
#include "pf/shell.h"
#include "pf/window.h"

namespace pf::shell {

namespace {

struct MenuBar {
  PfWnd dialog = PfWnd::none;
  PfMenu menu = PfMenu::none; /* the loaded menu resource, or none */
  std::vector<SoftKey> keys;
};

MenuBar* state(PfWnd wnd) {
  return wm::classIs(wnd, u"PfMenuBar") ? static_cast<MenuBar*>(pfGetWindowData(wnd)) : nullptr;
}

enum : uint16_t { kStateHidden = 8, kStylePopup = 0x08, kNoPopup = 0xFFFF };

PfResult menuBarProc(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  if (msg == PFSHCMBM_GETSUBMENU) {
    MenuBar* bar = state(wnd);
    if (!bar) return 0;
    for (const SoftKey& key : bar->keys)
      if (key.popup && key.command == static_cast<uint32_t>(lParam))
        return static_cast<PfResult>(key.popupMenu);
    return 0;
  }
  return pfDefWindowProc(wnd, msg, wParam, lParam);
}

uint16_t word(const uint8_t* data, size_t index) {
  return static_cast<uint16_t>(data[2 * index] | (data[2 * index + 1] << 8));
}

}  // namespace

void registerMenuBarClass() {
  wm::ClassInfo info;
  info.name = u"PfMenuBar";
  info.proc = menuBarProc;
  info.release = [](PfWnd wnd) {
    MenuBar* bar = static_cast<MenuBar*>(pfGetWindowData(wnd));
    if (!bar) return;
    if (bar->menu != PfMenu::none) destroyMenu(bar->menu);
    if (wm::DialogState* d = wm::dialogState(bar->dialog); d && d->menuBar == wnd)
      d->menuBar = PfWnd::none;
    delete bar;
    pfSetWindowData(wnd, nullptr);
  };
  registerSystemClass(std::move(info));
}

PfWnd menuBarOf(PfWnd dialog) {
  wm::DialogState* d = wm::dialogState(dialog);
  return (d && pfIsWindow(d->menuBar)) ? d->menuBar : PfWnd::none;
}

const std::vector<SoftKey>* softKeys(PfWnd bar) {
  MenuBar* b = state(bar);
  return b ? &b->keys : nullptr;
}

bool pressSoftKey(size_t index, std::string* error) {
  std::vector<PfWnd> dialogs = wm::openDialogs();
  if (dialogs.empty()) {
    if (error) *error = "no page is open";
    return false;
  }
  PfWnd dialog = dialogs.back();
  MenuBar* bar = state(menuBarOf(dialog));
  if (!bar) {
    if (error) *error = "the page has no soft-key bar";
    return false;
  }
  if (!pfIsWindowEnabled(dialog)) {
    if (error) *error = "the page is behind a message box";
    return false;
  }
  if (index >= bar->keys.size() || bar->keys[index].hidden) {
    if (error) *error = std::string(index == 0 ? "left" : "right") + " soft key is hidden";
    return false;
  }
  SoftKey key = bar->keys[index];
  if (key.popup) {
    runPopup(key.popupMenu, dialog);
  } else {
    pfSendMessage(dialog, PFM_COMMAND, pfMakeWParam(static_cast<uint16_t>(key.command), 0), 0);
  }
  return true;
}

}  // namespace pf::shell

bool pfShellCreateMenuBar(PfMenuBarCreate* create) {
  using namespace pf::shell;
  if (!create || create->size != sizeof(PfMenuBarCreate)) return false;
  pf::wm::DialogState* d = pf::wm::dialogState(create->parent);
  if (!d) return false;
  const PfResource* res = pfFindResource(create->module, create->resourceId, PFRT_RCDATA);
  const auto* data = static_cast<const uint8_t*>(pfLoadResource(create->module, res));
  uint32_t size = pfSizeofResource(create->module, res);
  if (!data || size < 4) return false;
  uint16_t menuId = word(data, 0), count = word(data, 1);
  if (size < 4u + 14u * count) return false;

  auto* bar = new MenuBar;
  bar->dialog = create->parent;
  if (const PfResource* m = pfFindResource(create->module, menuId, PFRT_MENU))
    bar->menu = loadMenu(static_cast<const PfMenuTemplate*>(pfLoadResource(create->module, m)));
  for (uint16_t i = 0; i < count; ++i) {
    size_t base = 2 + 7u * i;
    SoftKey key;
    key.command = word(data, base + 1);
    key.hidden = (word(data, base + 2) & kStateHidden) != 0;
    key.popup = (word(data, base + 3) & kStylePopup) != 0;
    char16_t caption[64] = {};
    pfLoadString(create->module, word(data, base + 4), caption, 64);
    key.caption = caption;
    uint16_t popupIndex = word(data, base + 6);
    if (key.popup && popupIndex != kNoPopup && bar->menu != PfMenu::none)
      key.popupMenu = popupOf(bar->menu, popupIndex);
    bar->keys.push_back(std::move(key));
  }

  const auto& cfg = pf::host::deviceConfig();
  int32_t h = pf::host::menuBarHeight();
  PfWnd wnd = pfCreateWindow(0, u"PfMenuBar", u"", PFWS_POPUP | PFWS_VISIBLE, 0,
                             cfg.screenHeight - h, cfg.screenWidth, h, create->parent, 0,
                             create->module, nullptr);
  if (wnd == PfWnd::none) {
    if (bar->menu != PfMenu::none) destroyMenu(bar->menu);
    delete bar;
    return false;
  }
  pfSetWindowData(wnd, bar);
  if (pfIsWindow(d->menuBar)) pfDestroyWindow(d->menuBar);
  d = pf::wm::dialogState(create->parent);
  d->menuBar = wnd;
  create->menuBar = wnd;
  return true;
}
