/*
** Writing the day index from a scan: the count, the entry table and the
** title area, in one pass from start to end.
*/
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "scan/history_scan.h"

struct WriteHooks {
  /* Replaces write(2): returns the bytes written, or -1. */
  ssize_t (*write)(int fd, const void* data, size_t bytes, void* context) = nullptr;
  /* Called between the entry table and the titles. */
  void (*entryTableWritten)(uint32_t entriesWritten, uint32_t count, void* context) = nullptr;
  void* context = nullptr;
};

struct WriteResult {
  bool created = false;        /* false: the file could not be created, nothing written */
  uint32_t entriesWritten = 0; /* whole entries that reached the file */
  bool complete = false;       /* every byte written and the file closed cleanly */
  int error = 0;               /* errno of the first failure */
};

/* Creates or truncates `indexPath`. Writing stops at the first failure:
** what follows could not land at its place in the file anyway. */
WriteResult writeDayIndex(const std::string& indexPath, const HistoryScan& scan,
                          const WriteHooks& hooks = {});
