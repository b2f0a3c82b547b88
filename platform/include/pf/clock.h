/*
** Clock and timers. The local date and time is the host's real clock or a
** fixed clock that automation advances. Timers arrive as PFM_TIMER in every
** modal loop, nested ones included; stopping a timer discards its pending
** ticks.
*/
#pragma once

#include "pf/types.h"

struct PfLocalTime {
  uint16_t year, month, dayOfWeek, day, hour, minute, second, millisecond;
};

PF_API void pfGetLocalTime(PfLocalTime* time);
/* Milliseconds since an arbitrary start, wrapping at 32 bits. */
PF_API uint32_t pfGetTickCount();

PF_API uint32_t pfSetTimer(PfWnd wnd, uint32_t id, uint32_t periodMs);
PF_API bool pfKillTimer(PfWnd wnd, uint32_t id);
