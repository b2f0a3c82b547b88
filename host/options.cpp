#include "options.h"

#include <cstdio>

namespace lumeno {

const char kScreenChoices[] = "240x320, 480x640, 320x240 or 640x480";

bool parseDate(const std::string& text, int32_t* y, int32_t* m, int32_t* d) {
  int a, b, c;
  char tail;
  if (std::sscanf(text.c_str(), "%d-%d-%d%c", &a, &b, &c, &tail) != 3) return false;
  *y = a;
  *m = b;
  *d = c;
  return true;
}

bool parseScreen(const std::string& text, int32_t* width, int32_t* height) {
  int w = 0, h = 0;
  char tail;
  if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2) return false;
  if (!((w == 240 && h == 320) || (w == 480 && h == 640) || (w == 320 && h == 240) ||
        (w == 640 && h == 480)))
    return false;
  *width = w;
  *height = h;
  return true;
}

}  // namespace lumeno
