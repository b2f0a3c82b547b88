/*
** Lookup of the embedded web assets by request path.
*/
#include "serve/web_assets.h"

namespace lumeno {

const WebAsset* findWebAsset(std::string_view path) {
  for (std::size_t i = 0; i < kWebAssetCount; ++i)
    if (path == kWebAssets[i].path) return &kWebAssets[i];
  return nullptr;
}

const char* webAssetType(std::string_view path) {
  if (path.ends_with(".html")) return "text/html; charset=utf-8";
  if (path.ends_with(".css")) return "text/css; charset=utf-8";
  if (path.ends_with(".js")) return "text/javascript; charset=utf-8";
  return "application/octet-stream";
}

}  // namespace lumeno
