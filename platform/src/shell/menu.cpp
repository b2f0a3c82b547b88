/*
** Menus and the pop-up that a soft key opens. A menu is loaded afresh from
** its template (with the template's check marks); items are checked and
** greyed by command (searching sub-menus too) or by position. While a pop-up
** is open it runs modally; choosing an item closes it and sends the item's
** command with lParam 0. A greyed item, or any item of a greyed sub-menu,
** cannot be chosen.
*/
#include <map>
#include <vector>

#include "core/dialog_state.h"
#include "core/loop.h"
#include "core/shell_internal.h"
#include "core/wm.h"
#include "pf/host/trace.h"
#include "pf/shell.h"
#include "pf/window.h"

namespace pf::shell {

namespace {

struct MenuItem {
  std::u16string text;
  uint32_t command = 0;
  bool separator = false;
  bool checked = false;
  bool grayed = false;
  PfMenu popup = PfMenu::none;
};

struct MenuRec {
  std::vector<MenuItem> items;
};

struct MenuRegistry {
  std::map<uint32_t, MenuRec> menus;
  uint32_t next = 0x20000;
  OpenMenu* open = nullptr;
};

MenuRegistry& reg() {
  static MenuRegistry r;
  return r;
}

MenuRec* menu(PfMenu m) {
  auto it = reg().menus.find(static_cast<uint32_t>(m));
  return it == reg().menus.end() ? nullptr : &it->second;
}

/* Finds an item by command, depth first, as the handheld does. */
MenuItem* findByCommand(PfMenu m, uint32_t command) {
  MenuRec* rec = menu(m);
  if (!rec) return nullptr;
  for (MenuItem& item : rec->items) {
    if (!item.separator && item.popup == PfMenu::none && item.command == command) return &item;
    if (item.popup != PfMenu::none)
      if (MenuItem* inner = findByCommand(item.popup, command)) return inner;
  }
  return nullptr;
}

MenuItem* findItem(PfMenu m, uint32_t item, uint32_t flags) {
  if (flags & PFMF_BYPOSITION) {
    MenuRec* rec = menu(m);
    if (!rec || item >= rec->items.size()) return nullptr;
    return &rec->items[item];
  }
  return findByCommand(m, item);
}

/* A choosable item: enabled, and reached through enabled sub-menus only. */
bool choosable(PfMenu m, uint32_t command, bool* greyed) {
  MenuRec* rec = menu(m);
  if (!rec) return false;
  for (MenuItem& item : rec->items) {
    if (item.separator) continue;
    if (item.popup != PfMenu::none) {
      bool innerGreyed = false;
      if (choosable(item.popup, command, &innerGreyed) || innerGreyed) {
        *greyed = innerGreyed || item.grayed;
        return !*greyed;
      }
    } else if (item.command == command) {
      *greyed = item.grayed;
      return !item.grayed;
    }
  }
  return false;
}

}  // namespace

PfMenu loadMenu(const PfMenuTemplate* tpl) {
  if (!tpl) return PfMenu::none;
  PfMenu handle = static_cast<PfMenu>(reg().next++);
  MenuRec rec;
  for (uint32_t i = 0; i < tpl->itemCount; ++i) {
    const PfMenuItemTemplate& t = tpl->items[i];
    MenuItem item;
    item.text = t.text ? t.text : u"";
    item.command = t.command;
    item.separator = (t.flags & PFMT_SEPARATOR) != 0;
    item.checked = (t.flags & PFMT_CHECKED) != 0;
    item.grayed = (t.flags & PFMT_GRAYED) != 0;
    if ((t.flags & PFMT_POPUP) && t.popup) item.popup = loadMenu(t.popup);
    rec.items.push_back(std::move(item));
  }
  reg().menus[static_cast<uint32_t>(handle)] = std::move(rec);
  return handle;
}

void destroyMenu(PfMenu m) {
  MenuRec* rec = menu(m);
  if (!rec) return;
  std::vector<PfMenu> popups;
  for (auto& item : rec->items)
    if (item.popup != PfMenu::none) popups.push_back(item.popup);
  reg().menus.erase(static_cast<uint32_t>(m));
  for (PfMenu p : popups) destroyMenu(p);
}

nlohmann::json describeMenu(PfMenu m) {
  nlohmann::json items = nlohmann::json::array();
  MenuRec* rec = menu(m);
  if (!rec) return items;
  for (auto& item : rec->items) {
    if (item.separator) {
      items.push_back({{"separator", true}});
      continue;
    }
    nlohmann::json j = {{"text", pf::trace::utf8(item.text)},
                        {"checked", item.checked},
                        {"greyed", item.grayed}};
    if (item.popup != PfMenu::none)
      j["items"] = describeMenu(item.popup);
    else
      j["command"] = item.command;
    items.push_back(std::move(j));
  }
  return items;
}

PfMenu popupOf(PfMenu m, uint32_t position) {
  MenuRec* rec = menu(m);
  if (!rec || position >= rec->items.size()) return PfMenu::none;
  return rec->items[position].popup;
}

OpenMenu* openMenu() { return reg().open; }

void runPopup(PfMenu m, PfWnd notify) {
  if (!menu(m) || reg().open) return;
  OpenMenu state;
  state.menu = m;
  state.notify = notify;
  PfWnd focusBefore = pfGetFocus();
  reg().open = &state;
  if (pf::trace::enabled()) pf::trace::emit("menu", {{"op", "open"}});
  pf::loop::runUntil([&state] { return state.done; });
  reg().open = nullptr;
  if (pfIsWindow(focusBefore)) pfSetFocus(focusBefore);
  PfWnd top = pfGetTopLevel(notify);
  if (pfIsWindow(top)) wm::invalidateTree(top);
  if (state.chosen && pfIsWindow(notify))
    pfSendMessage(notify, PFM_COMMAND, pfMakeWParam(static_cast<uint16_t>(state.chosen), 0), 0);
}

bool chooseMenuCommand(uint32_t command, std::string* error) {
  OpenMenu* open = reg().open;
  if (!open) {
    if (error) *error = "no menu is open";
    return false;
  }
  bool greyed = false;
  if (!choosable(open->menu, command, &greyed)) {
    if (error)
      *error = greyed ? "menu item " + std::to_string(command) + " is greyed"
                      : "the open menu has no item " + std::to_string(command);
    return false;
  }
  open->chosen = command;
  open->done = true;
  return true;
}

bool closeMenu(std::string* error) {
  OpenMenu* open = reg().open;
  if (!open) {
    if (error) *error = "no menu is open";
    return false;
  }
  open->done = true;
  return true;
}

}  // namespace pf::shell

int32_t pfCheckMenuItem(PfMenu m, uint32_t item, uint32_t flags) {
  auto* found = pf::shell::findItem(m, item, flags);
  if (!found) return -1;
  int32_t previous = found->checked ? PFMF_CHECKED : PFMF_UNCHECKED;
  found->checked = (flags & PFMF_CHECKED) != 0;
  return previous;
}

int32_t pfEnableMenuItem(PfMenu m, uint32_t item, uint32_t flags) {
  auto* found = pf::shell::findItem(m, item, flags);
  if (!found) return -1;
  int32_t previous = found->grayed ? PFMF_GRAYED : PFMF_ENABLED;
  found->grayed = (flags & PFMF_GRAYED) != 0;
  return previous;
}

int32_t pfGetMenuItemCount(PfMenu m) {
  auto* rec = pf::shell::menu(m);
  return rec ? static_cast<int32_t>(rec->items.size()) : -1;
}
