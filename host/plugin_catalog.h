/*
** The plug-ins folder: which libraries it holds, and loading one of them by
** its listed name (never by a path from outside).
*/
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "pf/types.h"

namespace lumeno {

struct PluginExports {
  int32_t (*getVersion)(void) = nullptr;
  const char16_t* (*getName)(void) = nullptr;
  int32_t (*showDay)(int32_t, int32_t, int32_t) = nullptr;
};

struct LoadedPlugin {
  std::string name;
  PfModule module = PfModule::none;
  PluginExports exports;
};

/* The build's plug-ins folder: beside the program's bin folder. */
std::filesystem::path defaultPluginsFolder();
/* Deliverable names (file names without extension) of the libraries found. */
std::vector<std::string> listPlugins(const std::filesystem::path& folder);
/* Loads a listed plug-in; false with a message when it is not listed or is
** not a plug-in. */
bool loadListedPlugin(const std::filesystem::path& folder, const std::string& name,
                      LoadedPlugin* out, std::string* error);
std::string versionText(int32_t version);

}  // namespace lumeno
