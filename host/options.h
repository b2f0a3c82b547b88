/*
** Parsing of the option values that several lumeno commands share.
*/
#pragma once

#include <cstdint>
#include <string>

namespace lumeno {

/* Y-M-D as three integers, unchecked (month 13 and day 0 pass). */
bool parseDate(const std::string& text, int32_t* y, int32_t* m, int32_t* d);
/* One of the handheld screens: 240x320, 480x640, 320x240 or 640x480. */
bool parseScreen(const std::string& text, int32_t* width, int32_t* height);
extern const char kScreenChoices[]; /* for error messages */

}  // namespace lumeno
