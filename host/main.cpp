/*
** lumeno: the host that loads the day-page plug-ins as the calendar does and
** runs their pages on the emulated device.
**
**   lumeno list [--plugins DIR] [--json]
**   lumeno run PLUGIN [options]          (see usage())
**   lumeno [serve [options]]             the device emulator in the browser
*/
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "automation.h"
#include "options.h"
#include "plugin_catalog.h"
#include "serve/serve_command.h"
#include "pf/host/device.h"
#include "pf/host/faults.h"
#include "pf/host/loader.h"
#include "pf/host/trace.h"
#include "pf/window.h"

namespace fs = std::filesystem;
using namespace lumeno;


namespace {

const char kUsage[] =
    "usage: lumeno [serve [--port N] [--plugins DIR] [--device-root DIR] [--screen WxH]]\n"
    "       lumeno list [--plugins DIR] [--json]\n"
    "       lumeno run PLUGIN [--date Y-M-D] [--clock \"Y-M-D h:m:s\"] [--screen WxH]\n"
    "                  [--platform NAME | --no-platform-type] [--device-root DIR]\n"
    "                  [--plugins DIR] [--fault NAME]... [--trace] [--script FILE|-]\n"
    "\n"
    "serve starts the device emulator in the browser (the default): it prints the\n"
    "      address to open, with its access token; port 8240 unless --port (0: any).\n"
    "      The device root defaults to ~/.local/share/lumeno/device (owner only).\n"
    "list  prints every plug-in of the plug-ins folder with its name and version.\n"
    "run   loads one plug-in as the calendar would, calls showDay with the date and\n"
    "      drives its page with automation steps (from FILE, or standard input with -\n"
    "      or when no script is given), printing JSON lines; see docs/automation.md.\n"
    "      Faults: viewer-init, viewer-window, platform-query, open:NAME, write:NAME[:N].\n"
    "      The device root defaults to a fresh temporary folder, removed afterwards.\n";

int usageError(const std::string& message) {
  std::fprintf(stderr, "lumeno: %s\n%s", message.c_str(), kUsage);
  return 2;
}

struct TempFolder {
  fs::path path;
  ~TempFolder() {
    std::error_code ec;
    if (!path.empty()) fs::remove_all(path, ec);
  }
};

int listCommand(const std::vector<std::string>& args) {
  fs::path plugins = defaultPluginsFolder();
  bool json = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") {
      json = true;
    } else if (args[i] == "--plugins" && i + 1 < args.size()) {
      plugins = args[++i];
    } else if (args[i] == "--help" || args[i] == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      return usageError("list: unexpected argument \"" + args[i] + "\"");
    }
  }
  if (!fs::is_directory(plugins)) return usageError("no plug-ins folder " + plugins.string());
  pf::host::DeviceConfig config;
  config.pluginsFolder = plugins;
  pf::host::configureDevice(config);
  nlohmann::json all = nlohmann::json::array();
  int status = 0;
  for (const std::string& name : listPlugins(plugins)) {
    LoadedPlugin plugin;
    std::string error;
    if (!loadListedPlugin(plugins, name, &plugin, &error)) {
      std::fprintf(stderr, "lumeno: %s: %s\n", name.c_str(), error.c_str());
      status = 1;
      continue;
    }
    std::string display = pf::trace::utf8(plugin.exports.getName());
    std::string version = versionText(plugin.exports.getVersion());
    if (json)
      all.push_back({{"library", name}, {"name", display}, {"version", version}});
    else
      std::printf("%-16s %s %s\n", name.c_str(), display.c_str(), version.c_str());
  }
  if (json) printJson(all);
  return status;
}

int runCommand(const std::vector<std::string>& args) {
  if (args.empty()) return usageError("run needs a plug-in name");
  if (args[0] == "--help" || args[0] == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::string pluginName = args[0];
  RunOptions options;
  pf::host::DeviceConfig config;
  config.pluginsFolder = defaultPluginsFolder();
  std::string clock, script = "-";
  std::vector<std::string> faults;
  bool dateGiven = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= args.size()) return false;
      *out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--date") {
      if (!value(&v) || !parseDate(v, &options.year, &options.month, &options.day))
        return usageError("--date needs Y-M-D");
      dateGiven = true;
    } else if (a == "--clock") {
      if (!value(&clock)) return usageError("--clock needs \"Y-M-D h:m:s\"");
    } else if (a == "--screen") {
      if (!value(&v) || !parseScreen(v, &config.screenWidth, &config.screenHeight))
        return usageError(std::string("--screen takes ") + kScreenChoices);
    } else if (a == "--platform") {
      if (!value(&v)) return usageError("--platform needs a name");
      config.platformType = pf::trace::utf16(v);
    } else if (a == "--no-platform-type") {
      config.platformType.reset();
    } else if (a == "--device-root") {
      if (!value(&v)) return usageError("--device-root needs a folder");
      config.deviceRoot = v;
    } else if (a == "--plugins") {
      if (!value(&v)) return usageError("--plugins needs a folder");
      config.pluginsFolder = v;
    } else if (a == "--fault") {
      if (!value(&v)) return usageError("--fault needs a name");
      faults.push_back(v);
    } else if (a == "--trace") {
      options.trace = true;
    } else if (a == "--script") {
      if (!value(&script)) return usageError("--script needs a file or -");
    } else {
      return usageError("run: unexpected argument \"" + a + "\"");
    }
  }

  int cy, cm, cd, ch = 0, cmin = 0, cs = 0;
  if (!clock.empty()) {
    char tail;
    if (std::sscanf(clock.c_str(), "%d-%d-%d %d:%d:%d%c", &cy, &cm, &cd, &ch, &cmin, &cs,
                    &tail) != 6 ||
        cm < 1 || cm > 12 || cd < 1 || cd > 31 || ch < 0 || ch > 23 || cmin < 0 || cmin > 59 ||
        cs < 0 || cs > 59)
      return usageError("--clock needs \"Y-M-D h:m:s\"");
  } else {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    cy = local.tm_year + 1900;
    cm = local.tm_mon + 1;
    cd = local.tm_mday;
    ch = local.tm_hour;
    cmin = local.tm_min;
    cs = local.tm_sec;
  }
  if (!dateGiven) {
    options.year = cy;
    options.month = cm;
    options.day = cd;
  }

  TempFolder temp;
  if (config.deviceRoot.empty()) {
    std::string pattern = (fs::temp_directory_path() / "lumeno-device-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return usageError("cannot create a temporary device root");
    temp.path = pattern;
    config.deviceRoot = temp.path;
  } else if (!fs::is_directory(config.deviceRoot)) {
    return usageError("--device-root " + config.deviceRoot.string() + " is not a folder");
  }
  if (!fs::is_directory(config.pluginsFolder))
    return usageError("no plug-ins folder " + config.pluginsFolder.string());

  pf::host::configureDevice(config);
  pf::host::useFixedClock(cy, cm, cd, ch, cmin, cs);
  for (const std::string& f : faults) {
    std::string error;
    if (!pf::faults::set(f, true, &error)) return usageError(error);
  }
  pf::trace::setSink([&options](const nlohmann::json& event) {
    if (event.value("event", "") == "messageBox") {
      nlohmann::json box = event;
      box.erase("event");
      box["type"] = "messageBox";
      printJson(box);
    } else if (options.trace) {
      nlohmann::json traced = event;
      traced["type"] = "trace";
      printJson(traced);
    }
  });

  std::ifstream file;
  std::istream* in = &std::cin;
  if (script != "-") {
    file.open(script);
    if (!file) return usageError("cannot read script " + script);
    in = &file;
  }

  LoadedPlugin plugin;
  std::string error;
  if (!loadListedPlugin(config.pluginsFolder, pluginName, &plugin, &error))
    return usageError(error);

  /* The calendar's own window holds the focus when a page opens. */
  PfWndClass calendarClass{u"LumenoCalendar", pfDefWindowProc, PfModule::none};
  pfRegisterClass(&calendarClass);
  PfWnd calendar = pfCreateWindow(0, u"LumenoCalendar", u"Lumeno", PFWS_POPUP | PFWS_VISIBLE, 0, 26,
                                  config.screenWidth, config.screenHeight - 52, PfWnd::none, 0,
                                  PfModule::none, nullptr);
  pfSetFocus(calendar);

  ScriptRunner runner(*in, plugin, options);
  int status = runner.run();
  pf::trace::setSink(nullptr);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return serveCommand(args);
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::string command = args[0];
  args.erase(args.begin());
  if (command == "list") return listCommand(args);
  if (command == "run") return runCommand(args);
  if (command == "serve") return serveCommand(args);
  return usageError("unknown command \"" + command + "\"");
}
