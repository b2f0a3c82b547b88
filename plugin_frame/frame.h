/*
** The frame that every plug-in library carries: the exports and their
** contract, the module attach handler, the platform test, the dialog shell
** (full-screen page, soft-key bar, OK, Back and About), files beside the
** library, and the screen factor.
**
** A plug-in supplies its identity and its hooks; the frame calls them from
** the page's dialog procedure.
*/
#pragma once

#include "identities.h"
#include "pf/platform.h"

#define LUMENO_EXPORT extern "C" __attribute__((visibility("default")))

struct RequestedDate {
  int32_t year, month, day;
};

/* What a plug-in adds to the frame. Any hook may be null. */
struct PluginHooks {
  /* Attach work beyond keeping the module handle. */
  void (*attach)(void);
  /* The plug-in's own initialisation, after initDialogShell; its result is
  ** the initialise handler's result (normally 1). */
  PfResult (*initDialog)(PfWnd dialog);
  /* Commands the plug-in handles itself, before the frame's rules; true when
  ** handled, with the procedure's result in *result. */
  bool (*command)(PfWnd dialog, PfWParam wParam, PfLParam lParam, PfResult* result);
  /* Messages other than initialise and command (paint, size, timer). */
  PfResult (*message)(PfWnd dialog, uint32_t msg, PfWParam wParam, PfLParam lParam);
  /* Closing steps before the page ends on OK or Back. */
  void (*close)(PfWnd dialog);
  /* Writes the About text into a buffer of `size` units; null for the
  ** standard layout. */
  void (*aboutText)(char16_t* buffer, int32_t size);
};

/* Defined by each plug-in. */
extern const PluginIdentity& pluginIdentity;
extern const PluginHooks pluginHooks;

/* Module state of the frame. */
extern PfModule moduleHandle;
extern RequestedDate requestedDate;
extern PfWnd shellMenuBar; /* the bar that initDialogShell created last */

bool isPocketPC(void);
bool initDialogShell(PfWnd dialog);
/* The same shell with another soft-key bar (sub-dialogs). */
bool initDialogShellWithBar(PfWnd dialog, uint32_t menuBarId);
PfResult dayDialogProc(PfWnd dialog, uint32_t msg, PfWParam wParam, PfLParam lParam);
void showAboutBox(PfWnd dialog);
/* The standard About text: page title and version, build stamp, credit
** line, web address. */
void formatStandardAbout(char16_t* buffer, int32_t size);
/* Full path of a file beside the library, in a buffer of `size` units
** (260 where the callers keep paths). The name is cut to fit. */
void pluginFilePath(const char16_t* fileName, char16_t* buffer, int32_t size);
int32_t screenFactor(void);

/* Build stamp ("Oct 26 2007 01:58:51"), credit line and web address. */
extern const char16_t buildStamp[];
extern const char16_t creditLine[];
extern const char16_t webAddress[];
