/*
** Shell services: full-screen dialog initialisation, the soft-key menu bar,
** menus, message boxes, and the system parameter query.
*/
#pragma once

#include "pf/types.h"

/* Full-screen dialog initialisation. */
enum : uint32_t {
  PFSHIDIM_FLAGS = 0x1,
  PFSHIDIF_DONEBUTTON = 0x01,
  PFSHIDIF_SIZEDLG = 0x04,
  PFSHIDIF_SIPDOWN = 0x08,
  PFSHIDIF_EMPTYMENU = 0x20,
};
struct PfFullScreenInit {
  uint32_t mask;
  PfWnd dialog;
  uint32_t flags;
};
PF_API bool pfShellInitDialog(PfFullScreenInit* init);

/* Soft-key menu bar. The record is cleared, then size, parent, resource id
** and module are set; the bar's window comes back in menuBar. */
struct PfMenuBarCreate {
  uint32_t size;
  PfWnd parent;
  uint32_t flags;
  uint32_t resourceId;
  PfModule module;
  uint32_t bitmapId;
  uint32_t bitmapCount;
  PfWnd menuBar;
  uint32_t background;
};
static_assert(sizeof(PfMenuBarCreate) == 36, "the menu-bar record has nine 32-bit fields");
static_assert(sizeof(PfFullScreenInit) == 12, "the full-screen record has three 32-bit fields");
PF_API bool pfShellCreateMenuBar(PfMenuBarCreate* create);

/* Asks a menu bar for the pop-up of a button: wParam 0, lParam = the button's
** command id; the result is the menu handle. */
enum : uint32_t { PFSHCMBM_GETSUBMENU = 1425 };

/* Menus: check marks and greying by command or by position. */
enum : uint32_t {
  PFMF_BYCOMMAND = 0x0,
  PFMF_BYPOSITION = 0x400,
  PFMF_ENABLED = 0x0,
  PFMF_GRAYED = 0x1,
  PFMF_UNCHECKED = 0x0,
  PFMF_CHECKED = 0x8,
};
/* Both return the previous state (PFMF_CHECKED / PFMF_GRAYED) or -1 when the
** item does not exist. */
PF_API int32_t pfCheckMenuItem(PfMenu menu, uint32_t item, uint32_t flags);
PF_API int32_t pfEnableMenuItem(PfMenu menu, uint32_t item, uint32_t flags);
PF_API int32_t pfGetMenuItemCount(PfMenu menu);

/* Message boxes. */
enum : uint32_t {
  PFMB_OK = 0x0,
  PFMB_OKCANCEL = 0x1,
  PFMB_ICONERROR = 0x10,
  PFMB_ICONINFORMATION = 0x40,
};
/* Runs modally until answered; returns PFID_OK or PFID_CANCEL. A null title
** shows the handheld's default, "Error". */
PF_API int32_t pfMessageBox(PfWnd owner, const char16_t* text, const char16_t* title,
                            uint32_t style);

/* System parameter query. */
enum : uint32_t { PFSPI_GETPLATFORMTYPE = 257 };
/* Returns 1 on success with the zero-terminated value in the buffer of
** `size` units, 0 on failure. */
PF_API int32_t pfSystemParametersInfo(uint32_t action, uint32_t size, void* buffer,
                                      uint32_t flags);

/* Vertical scroll information of a window: nothing is ever scrolled here, so
** the query gives nothing (false). */
struct PfScrollInfo {
  int32_t min, max, page, pos, trackPos;
};
PF_API bool pfGetScrollInfo(PfWnd wnd, PfScrollInfo* info);
