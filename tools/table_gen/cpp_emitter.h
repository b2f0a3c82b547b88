/*
** cpp_emitter.h: writes a parsed table as a C++ source file.
**
** The output defines one static char16_t pool that holds every distinct text
** once, each zero-terminated (all empty texts share the pool's first unit),
** and the record array `const <type> <array>[N]` whose records are
** {key, pool + offset, ...} in the order of the table source (ascending keys).
** The array is declared constinit, so the compiler rejects it unless it is
** constant-initialised: no code runs, allocates or sorts at start-up.
*/
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "table_source.h"

namespace tablegen {

struct EmitOptions {
  std::string sourceName;     // shown in the generated file's header comment
  std::string includeHeader;  // header that declares the record type and the array
  std::string typeName;       // record type, e.g. AlmanacDay
  std::string arrayName;      // array name, e.g. almanacDays
  std::string countConstant;  // optional: constant that must equal the record count
};

struct EmitStatistics {
  std::size_t distinctTexts = 0;  // including the shared empty text
  std::size_t poolUnits = 0;      // UTF-16 units in the pool, terminators included
};

std::string emitTableCpp(const std::vector<TableRecord>& records, const EmitOptions& options,
                         EmitStatistics& statistics);

}  // namespace tablegen
