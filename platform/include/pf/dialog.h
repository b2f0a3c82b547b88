/*
** Dialogs: modal dialogs from in-memory templates, their ending, and the
** dialog-item helpers (text, numbers, messages by control id).
**
** A template lays out its controls in dialog units; the dialog manager turns
** them into pixels with the base units of the template's font, doubled on
** the high-resolution screens.
*/
#pragma once

#include "pf/types.h"

/* Predefined control classes of a template item. */
#define PF_CLASS_STATIC u"STATIC"
#define PF_CLASS_EDIT u"EDIT"
#define PF_CLASS_LISTBOX u"LISTBOX"
#define PF_CLASS_COMBOBOX u"COMBOBOX"
#define PF_CLASS_BUTTON u"BUTTON"
#define PF_CLASS_PROGRESS u"msctls_progress32"

struct PfDialogItem {
  const char16_t* className;
  const char16_t* text;
  int32_t id;      /* -1 for a control nobody addresses */
  uint32_t style;  /* PFWS_CHILD | PFWS_VISIBLE and the class's own bits */
  int16_t x, y, width, height; /* dialog units */
};

struct PfDialogTemplate {
  uint32_t style;
  const char16_t* title;
  int16_t x, y, width, height; /* dialog units */
  const char16_t* fontName;    /* "Tahoma", "System", "Microsoft Sans Serif" */
  int16_t fontSize;
  int16_t itemCount;
  const PfDialogItem* items;
};

/* Failure value of the modal run. */
enum : int32_t { PF_DIALOG_FAILED = -1 };

/* Runs a modal dialog. The owner (made top-level) is disabled while the
** dialog runs. Returns the value given to pfEndDialog, or PF_DIALOG_FAILED. */
PF_API PfResult pfDialogBoxIndirect(PfModule module, const PfDialogTemplate* tpl, PfWnd owner,
                                    PfDlgProc proc, PfLParam param);
/* Ends a dialog. Deferred: the dialog ends when its procedure returns. */
PF_API bool pfEndDialog(PfWnd dialog, PfResult result);

PF_API PfResult pfSendDlgItemMessage(PfWnd dialog, int32_t id, uint32_t msg, PfWParam wParam,
                                     PfLParam lParam);
PF_API bool pfSetDlgItemText(PfWnd dialog, int32_t id, const char16_t* text);
PF_API int32_t pfGetDlgItemText(PfWnd dialog, int32_t id, char16_t* buffer, int32_t size);
/* Sets a field to an unsigned (or signed) decimal number. */
PF_API bool pfSetDlgItemInt(PfWnd dialog, int32_t id, uint32_t value, bool isSigned);
/* Reads a field as a decimal number. *ok is false for empty text, non-digits,
** a sign where unsigned is asked, or an overflow; the result is then 0. */
PF_API uint32_t pfGetDlgItemInt(PfWnd dialog, int32_t id, bool* ok, bool isSigned);

/* Dialog units to pixels for a template's font on the current screen. */
PF_API PfRect pfDialogUnitsToPixels(const PfDialogTemplate* tpl, int16_t x, int16_t y,
                                    int16_t width, int16_t height);
