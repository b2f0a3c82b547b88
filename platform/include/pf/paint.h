/*
** Painting: invalidation, the paint cycle and the drawing operations that
** the pages use. Every paint is kept as a display list in client pixels so
** that front ends and tests can see what was drawn.
*/
#pragma once

#include "pf/types.h"

typedef uint32_t PfColor; /* 0x00BBGGRR */
inline constexpr PfColor pfRgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<PfColor>(r) | (static_cast<PfColor>(g) << 8) |
         (static_cast<PfColor>(b) << 16);
}

struct PfPaintInfo {
  PfDC dc;
  bool erase;
  PfRect paint; /* the invalid rectangle being painted */
};

PF_API bool pfInvalidateRect(PfWnd wnd, const PfRect* rect, bool erase);
PF_API bool pfValidateRect(PfWnd wnd, const PfRect* rect);
/* Paints at once when the window has an invalid region. */
PF_API bool pfUpdateWindow(PfWnd wnd);
PF_API PfDC pfBeginPaint(PfWnd wnd, PfPaintInfo* info);
PF_API bool pfEndPaint(PfWnd wnd, const PfPaintInfo* info);

/* Stock objects. */
enum : int32_t { PF_WHITE_BRUSH = 0, PF_GRAY_BRUSH = 2, PF_BLACK_BRUSH = 4, PF_BLACK_PEN = 7 };
PF_API PfGdi pfGetStockObject(int32_t which);
PF_API PfGdi pfCreateSolidBrush(PfColor color);
/* Selects a brush into the context; returns the previous one. */
PF_API PfGdi pfSelectObject(PfDC dc, PfGdi object);
PF_API bool pfDeleteObject(PfGdi object);

/* Outline with the pen, fill with the brush; right and bottom exclusive. */
PF_API bool pfRectangle(PfDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
PF_API bool pfFillRect(PfDC dc, const PfRect* rect, PfGdi brush);

enum : int32_t { PF_TRANSPARENT = 1, PF_OPAQUE = 2 };
PF_API PfColor pfSetTextColor(PfDC dc, PfColor color);
PF_API int32_t pfSetBkMode(PfDC dc, int32_t mode);

enum : uint32_t {
  PFDT_LEFT = 0x0,
  PFDT_CENTER = 0x1,
  PFDT_RIGHT = 0x2,
  PFDT_VCENTER = 0x4,
  PFDT_SINGLELINE = 0x20,
};
PF_API int32_t pfDrawText(PfDC dc, const char16_t* text, int32_t length, PfRect* rect,
                          uint32_t format);
