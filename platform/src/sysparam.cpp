/*
** The system parameter query. Only the platform type is known: the name the
** host configured for the device ("PocketPC" unless told otherwise). The
** query fails when the device has no platform type, when the platform-query
** fault is on, when the caller's buffer cannot hold the name and its
** terminator, and for every other action.
*/
#include <cstring>

#include "pf/host/device.h"
#include "pf/host/faults.h"
#include "pf/shell.h"

int32_t pfSystemParametersInfo(uint32_t action, uint32_t size, void* buffer, uint32_t /*flags*/) {
  if (action != PFSPI_GETPLATFORMTYPE || !buffer) return 0;
  if (pf::faults::platformQueryFails()) return 0;
  const auto& type = pf::host::deviceConfig().platformType;
  if (!type || type->size() + 1 > size) return 0;
  std::memcpy(buffer, type->c_str(), (type->size() + 1) * sizeof(char16_t));
  return 1;
}
