/*
** Basic types of the platform layer: handles, message parameters, rectangles
** and the message numbers that windows and dialogs exchange.
**
** The platform stands in for the handheld's core, shell and HTML viewer
** services. Plug-ins are written against these declarations exactly as they
** would be against the handheld's own: the message numbers, control styles
** and record layouts are the handheld's; the names are this project's.
**
** Handles are 32-bit identifiers, never pointers: a stale or foreign handle
** is simply not found, and the shell records keep their 32-bit field layout.
*/
#pragma once

#include <cstddef>
#include <cstdint>

#define PF_API __attribute__((visibility("default")))

enum class PfWnd : uint32_t { none = 0 };    /* a window */
enum class PfModule : uint32_t { none = 0 }; /* a loaded library */
enum class PfMenu : uint32_t { none = 0 };   /* a menu or pop-up */
enum class PfGdi : uint32_t { none = 0 };    /* a brush */
enum class PfDC : uint32_t { none = 0 };     /* a paint context */

typedef uintptr_t PfWParam;
typedef intptr_t PfLParam;
typedef intptr_t PfResult;

/* Window procedure and dialog procedure. A dialog procedure returns 1 for a
** message it handled and 0 for one the dialog manager should handle. */
typedef PfResult (*PfWndProc)(PfWnd, uint32_t msg, PfWParam, PfLParam);
typedef PfResult (*PfDlgProc)(PfWnd, uint32_t msg, PfWParam, PfLParam);

struct PfRect {
  int32_t left, top, right, bottom;
};

inline uint16_t pfLoWord(uintptr_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
inline uint16_t pfHiWord(uintptr_t v) { return static_cast<uint16_t>((v >> 16) & 0xFFFF); }
inline PfWParam pfMakeWParam(uint16_t lo, uint16_t hi) {
  return static_cast<PfWParam>(lo) | (static_cast<PfWParam>(hi) << 16);
}
inline PfLParam pfMakeLParam(int32_t lo, int32_t hi) {
  return static_cast<PfLParam>((static_cast<uint32_t>(lo) & 0xFFFF) |
                               ((static_cast<uint32_t>(hi) & 0xFFFF) << 16));
}
inline PfResult pfHandleResult(PfWnd w) { return static_cast<PfResult>(w); }
inline PfResult pfHandleResult(PfMenu m) { return static_cast<PfResult>(m); }

/* Window and dialog messages (the handheld's numbers). */
enum : uint32_t {
  PFM_CREATE = 1,
  PFM_DESTROY = 2,
  PFM_MOVE = 3,
  PFM_SIZE = 5,             /* lParam: client width (low) and height (high) */
  PFM_SETFOCUS = 7,
  PFM_KILLFOCUS = 8,
  PFM_ENABLE = 10,
  PFM_SETTEXT = 12,         /* lParam: const char16_t* */
  PFM_GETTEXT = 13,         /* wParam: buffer size in units, lParam: char16_t* */
  PFM_GETTEXTLENGTH = 14,
  PFM_PAINT = 15,
  PFM_CLOSE = 16,
  PFM_ERASEBKGND = 20,
  PFM_SHOWWINDOW = 24,
  PFM_GETDLGCODE = 135,
  PFM_KEYDOWN = 256,        /* wParam: key code */
  PFM_CHAR = 258,
  PFM_INITDIALOG = 272,
  PFM_COMMAND = 273,        /* wParam: id (low) and notification (high) */
  PFM_TIMER = 275,          /* wParam: timer id */
  PFM_LBUTTONDOWN = 513,    /* lParam: x (low), y (high) in client pixels */
  PFM_LBUTTONUP = 514,
  PFM_USER = 1024,
};

/* Key codes. */
enum : uint32_t {
  PFK_ENTER = 0x0D,
  PFK_ESCAPE = 0x1B,
  PFK_LEFT = 0x25,
  PFK_UP = 0x26,
  PFK_RIGHT = 0x27,
  PFK_DOWN = 0x28,
};

/* Answers of PFM_GETDLGCODE: what keys a control keeps for itself. */
enum : uint32_t {
  PFDLGC_WANTARROWS = 0x0001,
  PFDLGC_WANTALLKEYS = 0x0004,
  PFDLGC_WANTMESSAGE = 0x0004,
  PFDLGC_WANTCHARS = 0x0080,
};

/* Window styles. */
enum : uint32_t {
  PFWS_POPUP = 0x80000000u,
  PFWS_CHILD = 0x40000000u,
  PFWS_VISIBLE = 0x10000000u,
  PFWS_DISABLED = 0x08000000u,
  PFWS_CLIPSIBLINGS = 0x04000000u,
  PFWS_CAPTION = 0x00C00000u,
  PFWS_BORDER = 0x00800000u,
  PFWS_VSCROLL = 0x00200000u,
  PFWS_HSCROLL = 0x00100000u,
  PFWS_SYSMENU = 0x00080000u,
  PFWS_GROUP = 0x00020000u,
  PFWS_TABSTOP = 0x00010000u,
  PFDS_SETFONT = 0x00000040u,
};

/* Standard command ids. */
enum : int32_t {
  PFID_OK = 1,
  PFID_CANCEL = 2,
};

/* Results of the show and enable calls. */
enum : int32_t {
  PFSW_HIDE = 0,
  PFSW_SHOW = 5,
};
