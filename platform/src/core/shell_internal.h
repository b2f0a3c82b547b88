/*
** Shell internals shared by the menu, menu-bar, message-box and task-bar
** sources and by observation and input.
*/
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "pf/module.h"
#include "pf/types.h"

namespace pf::shell {

/* Menus. */
PfMenu loadMenu(const PfMenuTemplate* tpl);
void destroyMenu(PfMenu menu);
nlohmann::json describeMenu(PfMenu menu);
/* The sub-menu at a position of a menu (none when that item has none). */
PfMenu popupOf(PfMenu menu, uint32_t position);

/* The pop-up menu that is open now, if any. */
struct OpenMenu {
  PfMenu menu = PfMenu::none;
  PfWnd notify = PfWnd::none; /* gets the chosen command */
  bool done = false;
  uint32_t chosen = 0;
};
OpenMenu* openMenu();
/* Runs a pop-up modally; the chosen command goes to `notify` with lParam 0. */
void runPopup(PfMenu menu, PfWnd notify);
bool chooseMenuCommand(uint32_t command, std::string* error);
bool closeMenu(std::string* error);

/* Menu bars. */
struct SoftKey {
  std::u16string caption;
  uint32_t command = 0;
  bool hidden = false;
  bool popup = false;
  PfMenu popupMenu = PfMenu::none;
};
void registerMenuBarClass();
PfWnd menuBarOf(PfWnd dialog);
const std::vector<SoftKey>* softKeys(PfWnd bar);
bool pressSoftKey(size_t index, std::string* error);

/* Message boxes. */
void registerMessageBoxClass();
PfWnd topmostMessageBox();
bool answerMessageBox(bool ok, std::string* error);
nlohmann::json describeMessageBox(PfWnd box);

/* Desktop and task bar. */
void registerShellWindowClasses();
void ensureShellWindows();
void placeShellWindows();
PfWnd taskBar();

}  // namespace pf::shell
