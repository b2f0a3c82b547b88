/*
** The device that the platform emulates, as the host configures it: screen
** size, the device root on the host's disk, the plug-ins folder and its
** device path, the platform type, the clock. Host side only; plug-ins never
** include this.
*/
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "pf/types.h"

namespace pf::host {

struct DeviceConfig {
  int32_t screenWidth = 240;
  int32_t screenHeight = 320;
  /* Host folder that holds the handheld's file system. */
  std::filesystem::path deviceRoot;
  /* Host folder that holds the plug-in libraries, and the device folder
  ** under which the plug-ins see it. Files written there go to the device
  ** root's copy of that folder; the plug-ins folder itself is only read. */
  std::filesystem::path pluginsFolder;
  std::u16string pluginsDevicePath = u"\\Program Files\\Lumeno";
  /* Answer of the platform-type query; nullopt makes the query fail. */
  std::optional<std::u16string> platformType = u"PocketPC";
};

PF_API void configureDevice(const DeviceConfig& config);
PF_API const DeviceConfig& deviceConfig();

/* 2 on the 480- and 640-pixel screens, else 1. */
PF_API int32_t screenScale();
/* Height of the task bar and of the soft-key bar in pixels. */
PF_API int32_t taskBarHeight();
PF_API int32_t menuBarHeight();

/* Clock: real by default; a fixed clock stands still until advanced. */
PF_API void useRealClock();
PF_API void useFixedClock(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                          int32_t second);
/* Advances the fixed clock; the timers that fall due are delivered by the
** running loop as it goes idle. */
PF_API void advanceClock(int64_t milliseconds);

}  // namespace pf::host
