/*
** The message loop shared by every modal run (dialogs, message boxes,
** menus): posted messages first, then paints, then due timers, then input.
*/
#pragma once

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "pf/types.h"

namespace pf::loop {

/* Runs until done() holds or input is abandoned; false when abandoned. */
bool runUntil(const std::function<bool()>& done);
/* Handles one pending message, paint or timer; false when there is none. */
bool dispatchOne();
/* A destroyed window's posted messages and timers go with it. */
void forgetWindow(PfWnd wnd);

}  // namespace pf::loop

namespace pf::clockwork {

struct DueTimer {
  PfWnd wnd;
  uint32_t id;
};
/* The next timer that is due now (fixed clock: up to the advanced time). */
std::optional<DueTimer> takeDueTimer();
/* When the next timer falls due on the real clock. */
std::optional<int64_t> nextDueMs();
int64_t nowMs();
void forgetWindowTimers(PfWnd wnd);
/* The timers still running (window, id). */
std::vector<std::pair<PfWnd, uint32_t>> runningTimers();

}  // namespace pf::clockwork
