/*
** Standard controls: static text, edit field, list box, combo box, push
** button and progress bar. Their messages, styles and notification codes are
** the handheld's. Notifications (in the high 16 bits of the command's wParam,
** lParam = the control) are sent only for what a user does: selecting,
** resetting, adding entries or setting text from code sends nothing.
*/
#pragma once

#include "pf/types.h"

/* Static text styles. */
enum : uint32_t { PFSS_LEFT = 0x0, PFSS_CENTER = 0x1, PFSS_RIGHT = 0x2 };

/* Edit field styles and messages. */
enum : uint32_t {
  PFES_LEFT = 0x0,
  PFES_CENTER = 0x1,
  PFES_MULTILINE = 0x4,
  PFES_AUTOVSCROLL = 0x40,
  PFES_AUTOHSCROLL = 0x80,
  PFES_READONLY = 0x800,
  PFES_WANTRETURN = 0x1000,
  PFES_NUMBER = 0x2000,
};
enum : uint32_t {
  PFEM_GETSEL = 0xB0,
  PFEM_SETSEL = 0xB1,      /* wParam start, lParam end (-1: to the end) */
  PFEM_REPLACESEL = 0xC2,  /* lParam: const char16_t* */
  PFEM_LIMITTEXT = 0xC5,
  PFEM_SETREADONLY = 0xCF,
};
enum : uint16_t { PFEN_CHANGE = 0x300, PFEN_UPDATE = 0x400 };

/* List box styles, messages and notifications. */
enum : uint32_t {
  PFLBS_NOTIFY = 0x1,
  PFLBS_SORT = 0x2,
  PFLBS_NOINTEGRALHEIGHT = 0x100,
};
enum : uint32_t {
  PFLB_ADDSTRING = 0x180,
  PFLB_INSERTSTRING = 0x181,
  PFLB_DELETESTRING = 0x182,
  PFLB_RESETCONTENT = 0x184,
  PFLB_SETCURSEL = 0x186,
  PFLB_GETCURSEL = 0x188,
  PFLB_GETTEXT = 0x189,
  PFLB_GETTEXTLEN = 0x18A,
  PFLB_GETCOUNT = 0x18B,
  PFLB_GETTOPINDEX = 0x18E,
  PFLB_GETITEMHEIGHT = 0x1A1,
};
enum : uint16_t { PFLBN_SELCHANGE = 1, PFLBN_DBLCLK = 2 };
enum : int32_t { PFLB_ERR = -1 };

/* Combo box styles, messages and notifications. */
enum : uint32_t {
  PFCBS_DROPDOWN = 0x2,      /* drop-down with an editable field */
  PFCBS_DROPDOWNLIST = 0x3,  /* drop-down list */
  PFCBS_AUTOHSCROLL = 0x40,
  PFCBS_SORT = 0x100,
};
enum : uint32_t {
  PFCB_GETEDITSEL = 0x140,
  PFCB_LIMITTEXT = 0x141,
  PFCB_ADDSTRING = 0x143,
  PFCB_DELETESTRING = 0x144,
  PFCB_GETCOUNT = 0x146,
  PFCB_GETCURSEL = 0x147,
  PFCB_GETLBTEXT = 0x148,
  PFCB_GETLBTEXTLEN = 0x149,
  PFCB_INSERTSTRING = 0x14A,
  PFCB_RESETCONTENT = 0x14B,
  PFCB_SETCURSEL = 0x14E,
  PFCB_SHOWDROPDOWN = 0x14F,
  PFCB_GETDROPPEDSTATE = 0x157,
};
enum : uint16_t {
  PFCBN_SELCHANGE = 1,
  PFCBN_EDITCHANGE = 5,
  PFCBN_DROPDOWN = 7,
  PFCBN_CLOSEUP = 8,
  PFCBN_SELENDOK = 9,
};
enum : int32_t { PFCB_ERR = -1 };

/* Push button. */
enum : uint32_t { PFBS_PUSHBUTTON = 0x0, PFBS_DEFPUSHBUTTON = 0x1 };
enum : uint32_t { PFBM_CLICK = 0xF5 };
enum : uint16_t { PFBN_CLICKED = 0 };

/* Progress bar: range 0 to 100 unless set. */
enum : uint32_t {
  PFPBM_SETRANGE = 0x401,  /* lParam: min (low), max (high) */
  PFPBM_SETPOS = 0x402,
  PFPBM_GETPOS = 0x408,
};
