/*
** Index name and elapsed time of the index generator.
*/
#include "index_name.h"

std::optional<std::string> indexPathFor(const std::string& dataPath) {
  size_t dot = dataPath.rfind('.');
  if (dot == std::string::npos) return std::nullopt;
  return dataPath.substr(0, dot + 1) + "idx";
}

int32_t costMilliseconds(uint32_t start, uint32_t end) {
  return static_cast<int32_t>(end - start); /* modulo 2^32, then two's complement */
}
