#include "standard_resources.h"

/* Menu id 105 (no such menu), two buttons; each: image, command, state,
** style, caption string, 0, pop-up index. */
const uint16_t standardMenuBar105[16] = {105,    2,     0xFFFE, 40002, 4,     0x10,
                                         40000,  0,     0xFFFF, 0xFFFE, 40003, 4,
                                         0x10,   40001, 0,      0xFFFF};
const char16_t standardBackCaption[] = u"返回";
const char16_t standardAboutCaption[] = u"关于";
