/*
** Resources that several plug-ins share in their own copies: the soft-key
** bar 105 (Back 40002 and About 40003) with its string table.
*/
#pragma once

#include "frame.h"

extern const uint16_t standardMenuBar105[16];
extern const char16_t standardBackCaption[];  /* string 40000 */
extern const char16_t standardAboutCaption[]; /* string 40001 */

#define STANDARD_SHELL_RESOURCES                                                             \
  {PFRT_RCDATA, nullptr, 105, nullptr, PF_LANG_ZH_CN, standardMenuBar105,                    \
   sizeof standardMenuBar105},                                                               \
      {PFRT_STRING, nullptr, 40000, nullptr, PF_LANG_ZH_CN, standardBackCaption, 0},         \
      {PFRT_STRING, nullptr, 40001, nullptr, PF_LANG_ZH_CN, standardAboutCaption, 0}
