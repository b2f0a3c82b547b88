/*
** Internal state of the window manager: the window records behind the
** handles, window classes, and the hooks by which controls describe
** themselves to observation. Only platform sources include this.
*/
#pragma once

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "pf/paint.h"
#include "pf/types.h"

namespace pf::wm {

/* One recorded drawing operation of a paint, in client pixels. */
struct DrawOp {
  enum class Kind { Rectangle, Fill, Text } kind = Kind::Rectangle;
  PfRect rect;
  PfColor outline = 0; /* Rectangle: the pen */
  PfColor fill = 0;    /* Rectangle and Fill: the brush */
  PfColor textColor = 0;
  bool transparent = false;
  uint32_t format = 0;
  std::u16string text;
};

struct ClassInfo {
  std::u16string name;
  PfWndProc proc = nullptr;
  PfModule instance = PfModule::none;
  /* Adds the control's own state (items, selection, position) to a window's
  ** description; null for classes without state beyond their text. */
  std::function<void(PfWnd, nlohmann::json&)> describe;
  /* Frees the control's data when the window goes away. */
  std::function<void(PfWnd)> release;
};

struct DialogState; /* dialog.cpp */
struct MenuBarState;

struct Window {
  PfWnd handle = PfWnd::none;
  std::shared_ptr<const ClassInfo> cls;
  PfWndProc proc = nullptr;
  PfModule instance = PfModule::none;
  PfWnd parent = PfWnd::none; /* children only */
  PfWnd owner = PfWnd::none;  /* top-level windows only */
  std::vector<PfWnd> children; /* creation order, which is template order */
  int32_t id = 0;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  std::u16string text;
  PfRect rect{}; /* parent's client coordinates; screen for top-level */
  bool visible = false;
  bool enabled = true;
  bool alive = true;
  void* data = nullptr;
  /* Painting. */
  bool invalid = false;
  bool eraseBackground = false;
  bool painting = false;
  bool paintBegun = false;
  std::vector<DrawOp> currentPaint;
  std::vector<DrawOp> lastPaint;
  /* Dialogs only. */
  DialogState* dialog = nullptr;
};

Window* find(PfWnd wnd);
std::shared_ptr<Window> hold(PfWnd wnd);
/* Every live window, in creation order. */
std::vector<PfWnd> allWindows();
/* Top-level windows in creation order (later ones are above). */
std::vector<PfWnd> topLevelWindows();

void registerSystemClass(ClassInfo info);
std::shared_ptr<const ClassInfo> findClass(std::u16string_view name);
bool classIs(PfWnd wnd, std::u16string_view name);

/* Case-insensitive ASCII compare of class names. */
bool sameName(std::u16string_view a, std::u16string_view b);

/* Registers the platform's own classes once. */
void ensureSystemClasses();

/* The parent dialog of a control gets a notification command. */
void notifyParent(PfWnd control, uint16_t code);

/* Invalidate the whole window and every descendant (after an overlay closes). */
void invalidateTree(PfWnd wnd);

}  // namespace pf::wm
