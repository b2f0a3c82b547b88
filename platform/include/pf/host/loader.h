/*
** Loading plug-in libraries as the calendar does: the library is opened,
** attached (its entry point is called with reason 1 and its module handle),
** and its exports are found by name.
*/
#pragma once

#include <filesystem>
#include <string>

#include "pf/module.h"
#include "pf/types.h"

namespace pf::host {

/* Loads a library from the plug-ins folder by file name. PfModule::none on
** failure, with the reason in *error. */
PF_API PfModule loadPlugin(const std::filesystem::path& file, std::string* error);
PF_API void* findExport(PfModule module, const char* name);
/* A module whose resources live in the host itself (tests, the host's own
** dialogs): no library, no entry point. */
PF_API PfModule registerStaticModule(const PfResourceTable* resources, const std::u16string& fileName);
/* Detaches (reason 0) and closes the library. */
PF_API void unloadPlugin(PfModule module);

}  // namespace pf::host
