/*
** Showing the almanac page in process: showDay through the page's
** initialisation, the table lookup and the completed document, until the
** page first goes idle and is closed with Back.
*/
#include <benchmark/benchmark.h>

#include "pf/host/device.h"
#include "pf/host/input.h"
#include "pf/host/device_state.h"
#include "pf/host/loader.h"
#include "pf/host/user.h"

namespace {

struct BackOnIdle : pf::host::InputSource {
  pf::host::IdleResult onIdle(std::optional<std::chrono::steady_clock::time_point>) override {
    std::string error;
    pf::host::user::pressSoftKey(0, &error);
    return pf::host::IdleResult::Handled;
  }
};

void BM_ShowAlmanacPage(benchmark::State& state) {
  pf::host::DeviceConfig config;
  config.pluginsFolder = LUMENO_PLUGIN_DIR;
  config.deviceRoot = "/tmp";
  pf::host::configureDevice(config);
  pf::host::useFixedClock(2007, 10, 26, 8, 0, 0);
  std::string error;
  static PfModule module = pf::host::loadPlugin(std::string(LUMENO_PLUGIN_DIR) + "/LM_almanac.so", &error);
  if (module == PfModule::none) {
    state.SkipWithError(error.c_str());
    return;
  }
  auto showDay = reinterpret_cast<int32_t (*)(int32_t, int32_t, int32_t)>(
      pf::host::findExport(module, "showDay"));
  BackOnIdle input;
  pf::host::setInputSource(&input);
  int32_t day = 0;
  for (auto _ : state) {
    int32_t result = showDay(2007, 10, 1 + (day++ % 28));
    if (result != 40002) state.SkipWithError("the page did not close with Back");
    benchmark::DoNotOptimize(result);
  }
  pf::host::setInputSource(nullptr);
}
BENCHMARK(BM_ShowAlmanacPage);

}  // namespace

BENCHMARK_MAIN();
