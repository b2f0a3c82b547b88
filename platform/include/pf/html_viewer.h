/*
** The HTML viewer control, window class "DISPLAYCLASS". It keeps the HTML
** source it is given; front ends render it at every change.
*/
#pragma once

#include "pf/types.h"

#define PF_HTML_VIEWER_CLASS u"DISPLAYCLASS"

enum : uint32_t {
  PFDTM_SETTEXT = 12,       /* same number as PFM_SETTEXT: replace the document */
  PFDTM_ADDTEXTW = 1126,    /* lParam: const char16_t*, appended to the source */
  PFDTM_ENDOFSOURCE = 1128, /* the document is complete */
};

/* Registers the viewer's window class for a module. 1 on success; may be
** called again without harm. A failed initialisation leaves the class
** unregistered. */
PF_API int32_t initHtmlViewer(PfModule module);
