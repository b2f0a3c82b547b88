/*
** The emulator's web assets (page, style sheet, script), built into the
** program from host/web at build time. Nothing else is ever served.
*/
#pragma once

#include <cstddef>
#include <string_view>

namespace lumeno {

struct WebAsset {
  const char* path; /* "/index.html" */
  const unsigned char* bytes;
  std::size_t size;
};

extern const WebAsset kWebAssets[];
extern const std::size_t kWebAssetCount;

/* The asset served at `path`, or null. */
const WebAsset* findWebAsset(std::string_view path);
/* Content type by the asset's extension. */
const char* webAssetType(std::string_view path);

}  // namespace lumeno
