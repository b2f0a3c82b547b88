/*
** How front ends drive the device. Everything runs on the one user-interface
** thread that owns the platform: when a message loop has nothing left to do
** (no posted message, no paint, no due timer) it asks the input source for
** the next piece of input. A front end on another thread never touches the
** platform; it queues its input for its input source.
*/
#pragma once

#include <chrono>
#include <optional>

#include "pf/types.h"

namespace pf::host {

enum class IdleResult {
  Handled, /* some input was given (or the clock advanced): run the loop again */
  Timeout, /* nothing came before the deadline: deliver the due timers */
  Abandon, /* no more input will ever come: end every open dialog */
};

class InputSource {
 public:
  virtual ~InputSource() = default;
  /* Called by an idle loop. `nextTimer` is when the next timer falls due on
  ** the real clock (none with the fixed clock or without timers). */
  virtual IdleResult onIdle(std::optional<std::chrono::steady_clock::time_point> nextTimer) = 0;
};

PF_API void setInputSource(InputSource* source);
/* Handles everything pending (posted messages, paints, due timers) without
** asking for input. */
PF_API void runUntilIdle();
/* True while open dialogs are being ended because input was abandoned. */
PF_API bool abandoning();
PF_API void clearAbandon();

}  // namespace pf::host
