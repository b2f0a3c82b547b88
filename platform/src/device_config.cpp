/*
** The emulated device's configuration: screen, folders, platform type.
*/
#include "pf/host/device.h"

#include "core/shell_internal.h"

namespace pf::host {

namespace {
DeviceConfig& config() {
  static DeviceConfig c;
  return c;
}
}  // namespace

void configureDevice(const DeviceConfig& c) {
  config() = c;
  pf::shell::placeShellWindows();
}

const DeviceConfig& deviceConfig() { return config(); }

int32_t screenScale() {
  const DeviceConfig& c = config();
  auto high = [](int32_t v) { return v == 480 || v == 640; };
  return (high(c.screenWidth) || high(c.screenHeight)) ? 2 : 1;
}

int32_t taskBarHeight() { return 26 * screenScale(); }

int32_t menuBarHeight() { return 26 * screenScale(); }

}  // namespace pf::host
