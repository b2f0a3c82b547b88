/*
** The index generator's run: arguments, console report and exit status.
** main() calls it with the real console; tests call it with captured
** streams and hooks that make memory, reads or writes fail.
*/
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>

#include "scan/history_scan.h"

struct MakeIndexHooks {
  bool (*mayAllocate)(ScanMemory what, size_t index, void* context) = nullptr;
  ssize_t (*read)(int fd, void* buffer, size_t bytes, void* context) = nullptr;
  ssize_t (*write)(int fd, const void* data, size_t bytes, void* context) = nullptr;
  /* Millisecond tick count (32-bit, wrapping). */
  uint32_t (*ticks)(void* context) = nullptr;
  void* context = nullptr;
};

/* Exit statuses: 0 when the index holds every record of a scan that ended
** at the end of the data or at a marker without a key; 1 for every failure.
** `--help` alone (when no file has that name) prints the usage with 0. */
enum : int { kExitOk = 0, kExitFailure = 1 };

/* `out` receives the report; `err` the details of failures that the report
** itself does not name. */
int runMakeIndex(int argc, const char* const argv[], FILE* out, FILE* err,
                 const MakeIndexHooks& hooks = {});
