/*
** Painting: invalid regions, the paint cycle, brushes, and the drawing
** operations, each recorded into the window's display list in client pixels.
** A window's region is kept as a flag (the whole window) since every page
** repaints whole.
*/
#include <map>

#include "core/wm.h"
#include "pf/paint.h"
#include "pf/window.h"

namespace {

struct Brush {
  PfColor color;
  bool stock;
};

struct PaintContext {
  PfWnd wnd;
  PfGdi brush;
  PfColor textColor = pfRgb(0, 0, 0);
  int32_t bkMode = PF_OPAQUE;
};

struct GdiState {
  std::map<uint32_t, Brush> brushes;
  std::map<uint32_t, PaintContext> contexts;
  uint32_t next = 0x100;
  PfGdi white{}, gray{}, black{};
};

GdiState& gdi() {
  static GdiState g;
  if (g.white == PfGdi::none) {
    g.white = static_cast<PfGdi>(g.next++);
    g.brushes[static_cast<uint32_t>(g.white)] = Brush{pfRgb(255, 255, 255), true};
    g.gray = static_cast<PfGdi>(g.next++);
    g.brushes[static_cast<uint32_t>(g.gray)] = Brush{pfRgb(128, 128, 128), true};
    g.black = static_cast<PfGdi>(g.next++);
    g.brushes[static_cast<uint32_t>(g.black)] = Brush{pfRgb(0, 0, 0), true};
  }
  return g;
}

PaintContext* context(PfDC dc) {
  auto& cs = gdi().contexts;
  auto it = cs.find(static_cast<uint32_t>(dc));
  return it == cs.end() ? nullptr : &it->second;
}

const Brush* brush(PfGdi b) {
  auto& bs = gdi().brushes;
  auto it = bs.find(static_cast<uint32_t>(b));
  return it == bs.end() ? nullptr : &it->second;
}

pf::wm::Window* target(PaintContext* pc) { return pc ? pf::wm::find(pc->wnd) : nullptr; }

}  // namespace

bool pfInvalidateRect(PfWnd wnd, const PfRect*, bool erase) {
  pf::wm::Window* w = pf::wm::find(wnd);
  if (!w) return false;
  w->invalid = true;
  if (erase) w->eraseBackground = true;
  return true;
}

bool pfValidateRect(PfWnd wnd, const PfRect*) {
  pf::wm::Window* w = pf::wm::find(wnd);
  if (!w) return false;
  w->invalid = false;
  w->eraseBackground = false;
  return true;
}

bool pfUpdateWindow(PfWnd wnd) {
  pf::wm::Window* w = pf::wm::find(wnd);
  if (!w) return false;
  if (w->invalid && pfIsWindowVisible(wnd)) {
    w->paintBegun = false;
    pfSendMessage(wnd, PFM_PAINT, 0, 0);
    if (pf::wm::Window* after = pf::wm::find(wnd); after && !after->paintBegun)
      after->invalid = false;
  }
  return true;
}

PfDC pfBeginPaint(PfWnd wnd, PfPaintInfo* info) {
  pf::wm::Window* w = pf::wm::find(wnd);
  if (!w) return PfDC::none;
  GdiState& g = gdi();
  PfDC dc = static_cast<PfDC>(g.next++);
  g.contexts[static_cast<uint32_t>(dc)] = PaintContext{wnd, g.white};
  bool erase = w->eraseBackground;
  /* Begin-paint validates everything, also what the handler itself
  ** invalidated before it began. */
  w->invalid = false;
  w->eraseBackground = false;
  w->paintBegun = true;
  w->painting = true;
  w->currentPaint.clear();
  if (info) {
    info->dc = dc;
    info->erase = erase;
    pfGetClientRect(wnd, &info->paint);
  }
  return dc;
}

bool pfEndPaint(PfWnd wnd, const PfPaintInfo* info) {
  pf::wm::Window* w = pf::wm::find(wnd);
  if (w && w->painting) {
    w->painting = false;
    w->lastPaint = std::move(w->currentPaint);
    w->currentPaint.clear();
  }
  if (info) gdi().contexts.erase(static_cast<uint32_t>(info->dc));
  return w != nullptr;
}

PfGdi pfGetStockObject(int32_t which) {
  GdiState& g = gdi();
  switch (which) {
    case PF_WHITE_BRUSH:
      return g.white;
    case PF_GRAY_BRUSH:
      return g.gray;
    case PF_BLACK_BRUSH:
      return g.black;
    default:
      return PfGdi::none;
  }
}

PfGdi pfCreateSolidBrush(PfColor color) {
  GdiState& g = gdi();
  PfGdi b = static_cast<PfGdi>(g.next++);
  g.brushes[static_cast<uint32_t>(b)] = Brush{color, false};
  return b;
}

PfGdi pfSelectObject(PfDC dc, PfGdi object) {
  PaintContext* pc = context(dc);
  if (!pc || !brush(object)) return PfGdi::none;
  PfGdi previous = pc->brush;
  pc->brush = object;
  return previous;
}

bool pfDeleteObject(PfGdi object) {
  const Brush* b = brush(object);
  if (!b || b->stock) return false;
  gdi().brushes.erase(static_cast<uint32_t>(object));
  return true;
}

bool pfRectangle(PfDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  PaintContext* pc = context(dc);
  pf::wm::Window* w = target(pc);
  if (!w) return false;
  const Brush* b = brush(pc->brush);
  pf::wm::DrawOp op;
  op.kind = pf::wm::DrawOp::Kind::Rectangle;
  op.rect = PfRect{left, top, right, bottom};
  op.outline = pfRgb(0, 0, 0);
  op.fill = b ? b->color : pfRgb(255, 255, 255);
  w->currentPaint.push_back(std::move(op));
  return true;
}

bool pfFillRect(PfDC dc, const PfRect* rect, PfGdi fill) {
  PaintContext* pc = context(dc);
  pf::wm::Window* w = target(pc);
  const Brush* b = brush(fill);
  if (!w || !rect || !b) return false;
  pf::wm::DrawOp op;
  op.kind = pf::wm::DrawOp::Kind::Fill;
  op.rect = *rect;
  op.fill = b->color;
  w->currentPaint.push_back(std::move(op));
  return true;
}

PfColor pfSetTextColor(PfDC dc, PfColor color) {
  PaintContext* pc = context(dc);
  if (!pc) return 0;
  PfColor previous = pc->textColor;
  pc->textColor = color;
  return previous;
}

int32_t pfSetBkMode(PfDC dc, int32_t mode) {
  PaintContext* pc = context(dc);
  if (!pc || (mode != PF_TRANSPARENT && mode != PF_OPAQUE)) return 0;
  int32_t previous = pc->bkMode;
  pc->bkMode = mode;
  return previous;
}

int32_t pfDrawText(PfDC dc, const char16_t* text, int32_t length, PfRect* rect, uint32_t format) {
  PaintContext* pc = context(dc);
  pf::wm::Window* w = target(pc);
  if (!w || !text || !rect) return 0;
  std::u16string s = length < 0 ? std::u16string(text) : std::u16string(text, static_cast<size_t>(length));
  pf::wm::DrawOp op;
  op.kind = pf::wm::DrawOp::Kind::Text;
  op.rect = *rect;
  op.text = std::move(s);
  op.textColor = pc->textColor;
  op.transparent = pc->bkMode == PF_TRANSPARENT;
  op.format = format;
  w->currentPaint.push_back(std::move(op));
  return rect->bottom - rect->top;
}
