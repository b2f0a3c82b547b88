/*
** Windows: the handle table, classes, creation and destruction, the
** parent/child tree, text, rectangles, visibility, enabling, focus,
** subclassing and synchronous sending. Handles are never reused, so a stale
** handle finds nothing.
*/
#include "pf/window.h"

#include <algorithm>
#include <map>

#include "core/loop.h"
#include "core/wm.h"
#include "pf/host/faults.h"
#include "pf/host/trace.h"
#include "pf/html_viewer.h"
#include "pf/paint.h"
#include "text_internal.h"

namespace pf::wm {

namespace {

struct Registry {
  std::map<uint32_t, std::shared_ptr<Window>> windows; /* ordered by handle = creation order */
  std::vector<std::shared_ptr<const ClassInfo>> classes;
  uint32_t nextHandle = 0x10000;
  PfWnd focus = PfWnd::none;
};

Registry& reg() {
  static Registry r;
  return r;
}

}  // namespace

bool sameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (pf::text::foldAscii(a[i]) != pf::text::foldAscii(b[i])) return false;
  return true;
}

Window* find(PfWnd wnd) {
  auto& ws = reg().windows;
  auto it = ws.find(static_cast<uint32_t>(wnd));
  return it == ws.end() ? nullptr : it->second.get();
}

std::shared_ptr<Window> hold(PfWnd wnd) {
  auto& ws = reg().windows;
  auto it = ws.find(static_cast<uint32_t>(wnd));
  return it == ws.end() ? nullptr : it->second;
}

std::vector<PfWnd> allWindows() {
  std::vector<PfWnd> out;
  for (auto& [h, w] : reg().windows) out.push_back(w->handle);
  return out;
}

std::vector<PfWnd> topLevelWindows() {
  std::vector<PfWnd> out;
  for (auto& [h, w] : reg().windows)
    if (w->parent == PfWnd::none) out.push_back(w->handle);
  return out;
}

void registerSystemClass(ClassInfo info) {
  auto& classes = reg().classes;
  classes.erase(std::remove_if(classes.begin(), classes.end(),
                               [&](auto& c) { return sameName(c->name, info.name); }),
                classes.end());
  classes.push_back(std::make_shared<const ClassInfo>(std::move(info)));
}

std::shared_ptr<const ClassInfo> findClass(std::u16string_view name) {
  for (auto& c : reg().classes)
    if (sameName(c->name, name)) return c;
  return nullptr;
}

bool classIs(PfWnd wnd, std::u16string_view name) {
  Window* w = find(wnd);
  return w && sameName(w->cls->name, name);
}

void notifyParent(PfWnd control, uint16_t code) {
  Window* w = find(control);
  if (!w || w->parent == PfWnd::none) return;
  pfSendMessage(w->parent, PFM_COMMAND, pfMakeWParam(static_cast<uint16_t>(w->id), code),
                static_cast<PfLParam>(control));
}

void invalidateTree(PfWnd wnd) {
  Window* w = find(wnd);
  if (!w) return;
  pfInvalidateRect(wnd, nullptr, true);
  std::vector<PfWnd> kids = w->children;
  for (PfWnd c : kids) invalidateTree(c);
}

}  // namespace pf::wm

using namespace pf::wm;

bool pfRegisterClass(const PfWndClass* cls) {
  ensureSystemClasses();
  if (!cls || !cls->className || !cls->proc) return false;
  if (findClass(cls->className)) return false; /* already registered */
  ClassInfo info;
  info.name = cls->className;
  info.proc = cls->proc;
  info.instance = cls->instance;
  registerSystemClass(std::move(info));
  return true;
}

bool pfUnregisterClass(const char16_t* className, PfModule) {
  auto& classes = reg().classes;
  auto before = classes.size();
  classes.erase(std::remove_if(classes.begin(), classes.end(),
                               [&](auto& c) { return sameName(c->name, className); }),
                classes.end());
  return classes.size() != before;
}

bool pfIsClassRegistered(const char16_t* className) {
  ensureSystemClasses();
  return className && findClass(className) != nullptr;
}

PfWnd pfCreateWindow(uint32_t exStyle, const char16_t* className, const char16_t* text,
                     uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height,
                     PfWnd parent, int32_t id, PfModule instance, void* param) {
  ensureSystemClasses();
  if (!className) return PfWnd::none;
  auto cls = findClass(className);
  if (!cls) return PfWnd::none;
  if (sameName(cls->name, PF_HTML_VIEWER_CLASS) && pf::faults::viewerWindowFails())
    return PfWnd::none;
  bool child = (style & PFWS_CHILD) != 0;
  if (child && !find(parent)) return PfWnd::none;

  auto w = std::make_shared<Window>();
  w->handle = static_cast<PfWnd>(reg().nextHandle++);
  w->cls = cls;
  w->proc = cls->proc;
  w->instance = instance;
  w->exStyle = exStyle;
  w->style = style;
  w->id = id;
  w->text = text ? text : u"";
  w->rect = PfRect{x, y, x + std::max(0, width), y + std::max(0, height)};
  w->visible = (style & PFWS_VISIBLE) != 0;
  w->enabled = (style & PFWS_DISABLED) == 0;
  if (child)
    w->parent = parent;
  else
    w->owner = parent == PfWnd::none ? PfWnd::none : pfGetTopLevel(parent);
  reg().windows[static_cast<uint32_t>(w->handle)] = w;
  if (child) find(parent)->children.push_back(w->handle);

  PfWnd handle = w->handle;
  if (pf::trace::enabled())
    pf::trace::emit("create", {{"hwnd", static_cast<uint32_t>(handle)},
                               {"class", pf::trace::utf8(cls->name)},
                               {"id", id}});
  if (pfSendMessage(handle, PFM_CREATE, 0, reinterpret_cast<PfLParam>(param)) == -1) {
    pfDestroyWindow(handle);
    return PfWnd::none;
  }
  if (w->visible) pfInvalidateRect(handle, nullptr, true);
  return handle;
}

static void destroyTree(const std::shared_ptr<Window>& w) {
  if (!w->alive) return;
  PfWnd handle = w->handle;
  pfSendMessage(handle, PFM_DESTROY, 0, 0);
  std::vector<PfWnd> kids = w->children;
  for (PfWnd c : kids)
    if (auto cw = hold(c)) destroyTree(cw);
  pf::loop::forgetWindow(handle);
  if (w->cls->release) w->cls->release(handle);
  w->alive = false;
  if (reg().focus == handle) reg().focus = PfWnd::none;
  if (pf::trace::enabled())
    pf::trace::emit("destroy", {{"hwnd", static_cast<uint32_t>(handle)},
                                {"class", pf::trace::utf8(w->cls->name)},
                                {"id", w->id}});
  reg().windows.erase(static_cast<uint32_t>(handle));
}

bool pfDestroyWindow(PfWnd wnd) {
  auto w = hold(wnd);
  if (!w) return false;
  if (Window* p = find(w->parent)) {
    auto& kids = p->children;
    kids.erase(std::remove(kids.begin(), kids.end(), wnd), kids.end());
    if (w->visible) pfInvalidateRect(w->parent, &w->rect, true);
  }
  destroyTree(w);
  return true;
}

bool pfIsWindow(PfWnd wnd) { return find(wnd) != nullptr; }

PfWnd pfGetParent(PfWnd wnd) {
  Window* w = find(wnd);
  if (!w) return PfWnd::none;
  return w->parent != PfWnd::none ? w->parent : w->owner;
}

PfWnd pfGetDlgItem(PfWnd dialog, int32_t id) {
  Window* d = find(dialog);
  if (!d) return PfWnd::none;
  for (PfWnd c : d->children)
    if (Window* w = find(c); w && w->id == id) return c;
  return PfWnd::none;
}

int32_t pfGetDlgCtrlId(PfWnd wnd) {
  Window* w = find(wnd);
  return w ? w->id : 0;
}

PfWnd pfFindWindow(const char16_t* className, const char16_t* title) {
  ensureSystemClasses();
  for (PfWnd h : topLevelWindows()) {
    Window* w = find(h);
    if (className && !sameName(w->cls->name, className)) continue;
    if (title && w->text != title) continue;
    return h;
  }
  return PfWnd::none;
}

PfWnd pfGetTopLevel(PfWnd wnd) {
  Window* w = find(wnd);
  while (w && w->parent != PfWnd::none) w = find(w->parent);
  return w ? w->handle : PfWnd::none;
}

uint32_t pfGetStyle(PfWnd wnd) {
  Window* w = find(wnd);
  if (!w) return 0;
  uint32_t style = w->style & ~(PFWS_VISIBLE | PFWS_DISABLED);
  if (w->visible) style |= PFWS_VISIBLE;
  if (!w->enabled) style |= PFWS_DISABLED;
  return style;
}

void pfSetStyle(PfWnd wnd, uint32_t style) {
  if (Window* w = find(wnd)) w->style = style;
}

bool pfSetWindowText(PfWnd wnd, const char16_t* text) {
  if (!find(wnd)) return false;
  return pfSendMessage(wnd, PFM_SETTEXT, 0, reinterpret_cast<PfLParam>(text ? text : u"")) != 0;
}

int32_t pfGetWindowText(PfWnd wnd, char16_t* buffer, int32_t size) {
  if (!find(wnd) || !buffer || size <= 0) return 0;
  return static_cast<int32_t>(
      pfSendMessage(wnd, PFM_GETTEXT, static_cast<PfWParam>(size), reinterpret_cast<PfLParam>(buffer)));
}

int32_t pfGetWindowTextLength(PfWnd wnd) {
  if (!find(wnd)) return 0;
  return static_cast<int32_t>(pfSendMessage(wnd, PFM_GETTEXTLENGTH, 0, 0));
}

bool pfGetClientRect(PfWnd wnd, PfRect* rect) {
  Window* w = find(wnd);
  if (!w || !rect) return false;
  *rect = PfRect{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  return true;
}

bool pfGetWindowRect(PfWnd wnd, PfRect* rect) {
  Window* w = find(wnd);
  if (!w || !rect) return false;
  PfRect r = w->rect;
  for (Window* p = find(w->parent); p; p = find(p->parent)) {
    r.left += p->rect.left;
    r.right += p->rect.left;
    r.top += p->rect.top;
    r.bottom += p->rect.top;
  }
  *rect = r;
  return true;
}

bool pfMoveWindow(PfWnd wnd, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint) {
  Window* w = find(wnd);
  if (!w) return false;
  PfRect old = w->rect;
  int32_t oldW = old.right - old.left, oldH = old.bottom - old.top;
  width = std::max(0, width);
  height = std::max(0, height);
  w->rect = PfRect{x, y, x + width, y + height};
  if (repaint && w->visible) pfInvalidateRect(wnd, nullptr, true);
  if (oldW != width || oldH != height)
    pfSendMessage(wnd, PFM_SIZE, 0, pfMakeLParam(width, height));
  return true;
}

bool pfShowWindow(PfWnd wnd, int32_t command) {
  Window* w = find(wnd);
  if (!w) return false;
  bool was = w->visible;
  bool show = command != PFSW_HIDE;
  if (was != show) {
    w->visible = show;
    pfSendMessage(wnd, PFM_SHOWWINDOW, show ? 1 : 0, 0);
    if (show) {
      pfInvalidateRect(wnd, nullptr, true);
    } else {
      if (find(w->parent)) pfInvalidateRect(w->parent, &w->rect, true);
      /* A hidden window, or one inside it, cannot keep the focus. */
      for (Window* a = find(reg().focus); a; a = find(a->parent))
        if (a->handle == wnd) {
          reg().focus = PfWnd::none;
          break;
        }
    }
  }
  return was;
}

bool pfIsWindowVisible(PfWnd wnd) {
  for (Window* w = find(wnd); w; w = find(w->parent))
    if (!w->visible) return false;
  return find(wnd) != nullptr;
}

bool pfEnableWindow(PfWnd wnd, bool enable) {
  Window* w = find(wnd);
  if (!w) return false;
  bool wasDisabled = !w->enabled;
  if (w->enabled != enable) {
    w->enabled = enable;
    pfSendMessage(wnd, PFM_ENABLE, enable ? 1 : 0, 0);
    /* A control looks different when disabled; a dialog does not. */
    if (w->visible && w->parent != PfWnd::none) pfInvalidateRect(wnd, nullptr, true);
    if (!enable && reg().focus == wnd) reg().focus = PfWnd::none;
  }
  return wasDisabled;
}

bool pfIsWindowEnabled(PfWnd wnd) {
  Window* w = find(wnd);
  return w && w->enabled;
}

PfWnd pfSetFocus(PfWnd wnd) {
  PfWnd previous = reg().focus;
  if (wnd != PfWnd::none && !find(wnd)) return PfWnd::none;
  if (previous == wnd) return previous;
  reg().focus = wnd;
  if (find(previous)) pfSendMessage(previous, PFM_KILLFOCUS, static_cast<PfWParam>(wnd), 0);
  if (wnd != PfWnd::none && reg().focus == wnd)
    pfSendMessage(wnd, PFM_SETFOCUS, static_cast<PfWParam>(previous), 0);
  return previous;
}

PfWnd pfGetFocus() {
  PfWnd f = reg().focus;
  return find(f) ? f : PfWnd::none;
}

PfWndProc pfSetWindowProc(PfWnd wnd, PfWndProc proc) {
  Window* w = find(wnd);
  if (!w || !proc) return nullptr;
  PfWndProc previous = w->proc;
  w->proc = proc;
  return previous;
}

PfWndProc pfGetWindowProc(PfWnd wnd) {
  Window* w = find(wnd);
  return w ? w->proc : nullptr;
}

PfResult pfCallWindowProc(PfWndProc proc, PfWnd wnd, uint32_t msg, PfWParam wParam,
                          PfLParam lParam) {
  if (!proc) return 0;
  return proc(wnd, msg, wParam, lParam);
}

PfResult pfDefWindowProc(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  Window* w = find(wnd);
  if (!w) return 0;
  switch (msg) {
    case PFM_SETTEXT: {
      const char16_t* text = reinterpret_cast<const char16_t*>(lParam);
      std::u16string next = text ? text : u"";
      if (next != w->text) {
        w->text = std::move(next);
        if (pf::trace::enabled() && w->parent != PfWnd::none)
          pf::trace::emit("text", {{"hwnd", static_cast<uint32_t>(wnd)},
                                   {"id", w->id},
                                   {"text", pf::trace::utf8(w->text)}});
        if (w->visible) pfInvalidateRect(wnd, nullptr, true);
      }
      return 1;
    }
    case PFM_GETTEXT: {
      auto* buffer = reinterpret_cast<char16_t*>(lParam);
      size_t size = static_cast<size_t>(wParam);
      if (!buffer || size == 0) return 0;
      size_t n = std::min(size - 1, w->text.size());
      std::copy_n(w->text.data(), n, buffer);
      buffer[n] = 0;
      return static_cast<PfResult>(n);
    }
    case PFM_GETTEXTLENGTH:
      return static_cast<PfResult>(w->text.size());
    case PFM_PAINT: {
      PfPaintInfo info;
      pfBeginPaint(wnd, &info);
      pfEndPaint(wnd, &info);
      return 0;
    }
    default:
      return 0;
  }
}

PfResult pfSendMessage(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  auto w = hold(wnd);
  if (!w || !w->proc) return 0;
  if (pf::trace::enabled() && sameName(w->cls->name, PF_HTML_VIEWER_CLASS) &&
      (msg == PFDTM_SETTEXT || msg == PFDTM_ADDTEXTW || msg == PFDTM_ENDOFSOURCE)) {
    nlohmann::json fields = {{"hwnd", static_cast<uint32_t>(wnd)}, {"msg", msg}};
    if (msg != PFDTM_ENDOFSOURCE && lParam)
      fields["text"] = pf::trace::utf8(reinterpret_cast<const char16_t*>(lParam));
    pf::trace::emit("viewer", std::move(fields));
  }
  return w->proc(wnd, msg, wParam, lParam);
}

void* pfGetWindowData(PfWnd wnd) {
  Window* w = find(wnd);
  return w ? w->data : nullptr;
}

void pfSetWindowData(PfWnd wnd, void* data) {
  if (Window* w = find(wnd)) w->data = data;
}
