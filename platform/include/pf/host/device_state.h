/*
** Inspection of the device's state for front ends, automation and tests:
** every open dialog (topmost first) with its windows, the soft keys, the
** open menu, the message box, the last paint.
*/
#pragma once

#include <nlohmann/json.hpp>
#include <vector>

#include "pf/types.h"

namespace pf::host {

PF_API nlohmann::json snapshot();
/* The windows still alive (not counting the shell's own) and the timers
** still running, for a run's last report. */
PF_API nlohmann::json leftovers();
PF_API PfWnd topmostDialog();
PF_API bool menuIsOpen();
PF_API bool messageBoxIsOpen();
/* The task bar window (the title-bar OK lives there). */
PF_API PfWnd taskBarWindow();

}  // namespace pf::host
