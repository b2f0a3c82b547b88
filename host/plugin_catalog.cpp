#include "plugin_catalog.h"

#include <unistd.h>

#include <algorithm>

#include "pf/host/loader.h"

namespace lumeno {

namespace fs = std::filesystem;

fs::path defaultPluginsFolder() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    fs::path candidate = self.parent_path().parent_path() / "plugins";
    if (fs::is_directory(candidate, ec)) return candidate;
  }
  return fs::path(LUMENO_BUILD_PLUGIN_DIR);
}

std::vector<std::string> listPlugins(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (!entry.is_regular_file()) continue;
    fs::path p = entry.path();
    std::string stem = p.stem().string();
    if (p.extension() == ".so" && stem.rfind("LM_", 0) == 0) names.push_back(stem);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool loadListedPlugin(const fs::path& folder, const std::string& name, LoadedPlugin* out,
                      std::string* error) {
  auto names = listPlugins(folder);
  if (std::find(names.begin(), names.end(), name) == names.end()) {
    std::string known;
    for (auto& n : names) known += (known.empty() ? "" : ", ") + n;
    *error = "no plug-in \"" + name + "\" in " + folder.string() +
             (known.empty() ? " (the folder holds none)" : " (known: " + known + ")");
    return false;
  }
  PfModule module = pf::host::loadPlugin(folder / (name + ".so"), error);
  if (module == PfModule::none) return false;
  PluginExports ex;
  ex.getVersion = reinterpret_cast<int32_t (*)(void)>(pf::host::findExport(module, "getVersion"));
  ex.getName = reinterpret_cast<const char16_t* (*)(void)>(pf::host::findExport(module, "getName"));
  ex.showDay = reinterpret_cast<int32_t (*)(int32_t, int32_t, int32_t)>(
      pf::host::findExport(module, "showDay"));
  if (!ex.getVersion || !ex.getName || !ex.showDay) {
    *error = name + " lacks one of the exports getVersion, getName, showDay";
    pf::host::unloadPlugin(module);
    return false;
  }
  out->name = name;
  out->module = module;
  out->exports = ex;
  return true;
}

std::string versionText(int32_t version) {
  return std::to_string((static_cast<uint32_t>(version) >> 16) & 0xFFFF) + "." +
         std::to_string(static_cast<uint32_t>(version) & 0xFFFF);
}

}  // namespace lumeno
