/*
** Faults that tests and automation switch on, to see how the plug-ins
** behave when a platform service fails:
**   viewer-init       the HTML viewer's initialisation fails
**   viewer-window     creating an HTML viewer window fails
**   platform-query    the platform-type query fails
**   open:NAME         opening the device file NAME fails
**   write:NAME[:N]    the N-th write (default 1st) to device file NAME fails,
**                     counting writes since the fault was switched on
** NAME is compared without regard to case against the file's last path
** component.
*/
#pragma once

#include <string>
#include <string_view>

#include "pf/types.h"

namespace pf::faults {

/* Switches a fault on or off; false (with a message) for an unknown name. */
PF_API bool set(std::string_view fault, bool on, std::string* error = nullptr);
PF_API void clearAll();

PF_API bool viewerInitFails();
PF_API bool viewerWindowFails();
PF_API bool platformQueryFails();
PF_API bool openFails(std::u16string_view fileName);
/* Counts one write to the file and says whether it fails. */
PF_API bool nextWriteFails(std::u16string_view fileName);

}  // namespace pf::faults
