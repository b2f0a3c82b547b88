/*
** Files beside the library, and the screen factor of the page layouts.
*/
#include "frame.h"

void pluginFilePath(const char16_t* fileName, char16_t* buffer, int32_t size) {
  if (!buffer || size <= 0) return;
  buffer[0] = 0;
  pfGetModuleFileName(moduleHandle, buffer, size);
  int32_t i = static_cast<int32_t>(pfStrLen(buffer));
  while (i >= 0 && buffer[i] != u'\\') --i;
  buffer[i + 1] = 0; /* keeps the backslash; empty when there is none */
  /* The module's folder and the name are cut to the buffer rather than
  ** written past it. */
  size_t used = pfStrLen(buffer);
  if (fileName && used + 1 < static_cast<size_t>(size))
    pfStrCpyN(buffer + used, fileName, static_cast<size_t>(size) - used);
}

int32_t screenFactor(void) {
  PfWnd bar = pfFindWindow(u"HHTaskBar", nullptr);
  PfRect r;
  if (bar == PfWnd::none || !pfGetClientRect(bar, &r)) return 1;
  int32_t width = r.right - r.left, height = r.bottom - r.top;
  if (width == 480 || width == 640 || height == 480 || height == 640) return 2;
  return 1;
}
