/*
** `lumeno serve [--port N] [--plugins DIR] [--device-root DIR] [--screen WxH]`
**
** Loads every plug-in of the plug-ins folder once (their module state lasts
** as long as the host), serves the emulator on 127.0.0.1 and prints the
** address to open, with its access token, as the first line. The main
** thread is the user-interface thread that owns the platform; the HTTP
** server and the signal watcher run on threads of their own.
*/
#include "serve/serve_command.h"

#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <thread>

#include "options.h"
#include "plugin_catalog.h"
#include "pf/host/device.h"
#include "pf/window.h"
#include "serve/device_root.h"
#include "serve/device_session.h"
#include "serve/web_server.h"

namespace fs = std::filesystem;

namespace lumeno {

namespace {

int serveError(const std::string& message) {
  std::fprintf(stderr, "lumeno: %s\n", message.c_str());
  return 2;
}

}  // namespace

int serveCommand(const std::vector<std::string>& args) {
  int port = kDefaultServePort;
  pf::host::DeviceConfig config;
  config.pluginsFolder = defaultPluginsFolder();
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool hasValue = i + 1 < args.size();
    if (a == "--port" && hasValue) {
      char tail;
      if (std::sscanf(args[++i].c_str(), "%d%c", &port, &tail) != 1 || port < 0 || port > 65535)
        return serveError("--port takes a number from 0 to 65535");
    } else if (a == "--plugins" && hasValue) {
      config.pluginsFolder = args[++i];
    } else if (a == "--device-root" && hasValue) {
      config.deviceRoot = args[++i];
    } else if (a == "--screen" && hasValue) {
      if (!parseScreen(args[++i], &config.screenWidth, &config.screenHeight))
        return serveError(std::string("--screen takes ") + kScreenChoices);
    } else {
      return serveError("serve: unexpected argument \"" + a +
                        "\"\nusage: lumeno serve [--port N] [--plugins DIR] [--device-root DIR] "
                        "[--screen WxH]");
    }
  }
  if (!fs::is_directory(config.pluginsFolder))
    return serveError("no plug-ins folder " + config.pluginsFolder.string());
  std::string error;
  if (config.deviceRoot.empty()) {
    config.deviceRoot = userDeviceRoot(&error);
    if (config.deviceRoot.empty()) return serveError(error);
  } else if (!fs::is_directory(config.deviceRoot)) {
    return serveError("--device-root " + config.deviceRoot.string() + " is not a folder");
  }
  pf::host::configureDevice(config);
  pf::host::useRealClock();

  /* Signals go to one watcher thread; every other thread blocks them. */
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  ::signal(SIGPIPE, SIG_IGN);

  PublishedState state;
  InputQueue queue(16);
  WebServer server(state, queue);
  if (!server.bind(port, &error)) {
    serveError(error);
    return 1;
  }

  std::vector<LoadedPlugin> plugins;
  for (const std::string& name : listPlugins(config.pluginsFolder)) {
    LoadedPlugin plugin;
    if (loadListedPlugin(config.pluginsFolder, name, &plugin, &error))
      plugins.push_back(plugin);
    else
      std::fprintf(stderr, "lumeno: %s: %s\n", name.c_str(), error.c_str());
  }

  /* The calendar's own window holds the focus when a page opens. */
  PfWndClass calendarClass{u"LumenoCalendar", pfDefWindowProc, PfModule::none};
  pfRegisterClass(&calendarClass);
  PfWnd calendar = pfCreateWindow(0, u"LumenoCalendar", u"Lumeno", PFWS_POPUP | PFWS_VISIBLE, 0,
                                  pf::host::taskBarHeight(), config.screenWidth,
                                  config.screenHeight - 2 * pf::host::taskBarHeight(),
                                  PfWnd::none, 0, PfModule::none, nullptr);
  pfSetFocus(calendar);

  /* The first state is published before anyone can be told where to look. */
  std::size_t pluginCount = plugins.size();
  DeviceSession session(std::move(plugins), queue, state);
  std::printf("%s\n", server.address().c_str());
  std::fflush(stdout);
  std::fprintf(stderr,
               "lumeno: serving %zu plug-in(s) on 127.0.0.1:%d, device root %s; Ctrl-C stops\n",
               pluginCount, server.port(), config.deviceRoot.c_str());

  server.start();
  std::thread watcher([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    queue.close();
    state.wake();
  });
  watcher.detach();
  session.run();
  server.stop();
  std::fprintf(stderr, "lumeno: stopped\n");
  return 0;
}

}  // namespace lumeno
