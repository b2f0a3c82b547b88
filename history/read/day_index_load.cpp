/*
** Loading the day index: count, entry table and title area, each read
** whole. The count must fit the file before any memory is taken, so a
** damaged count cannot ask for more than the file holds.
*/
#include <stdlib.h>
#include <string.h>

#include "index_format.h"
#include "pf/files.h"
#include "read/day_index.h"

static_assert(sizeof(IndexEntry) == kIndexEntryBytes, "entries are read as they stand in the file");

static HistoryAllocator gAllocate = malloc;

void setHistoryAllocator(HistoryAllocator allocate) { gAllocate = allocate ? allocate : malloc; }

void* historyAllocate(size_t bytes) { return gAllocate(bytes); }

static uint32_t little32(const unsigned char* p) {
  return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

static bool readWhole(PfFile* file, void* buffer, size_t bytes) {
  return bytes == 0 || pfFileRead(buffer, 1, bytes, file) == bytes;
}

/* The entries were read as raw bytes into their own array; this puts each
** field in the machine's order (nothing changes on a little-endian one). */
static void decodeEntries(IndexEntry* entries, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    unsigned char raw[kIndexEntryBytes];
    memcpy(raw, &entries[i], sizeof raw);
    entries[i].key = (int32_t)little32(raw);
    entries[i].titleOffset = little32(raw + 4);
    entries[i].recordOffset = (int32_t)little32(raw + 8);
    entries[i].recordLength = (int32_t)little32(raw + 12);
  }
}

bool loadDayIndex(const char16_t* indexPath, DayIndex* index) {
  index->count = 0;
  index->entries = NULL;
  index->titleArea = NULL;
  index->titleAreaSize = 0;

  PfFile* file = pfFileOpenW(indexPath, u"rb");
  if (!file) return false;
  int64_t fileSize = pfFileSize(file);
  unsigned char countBytes[kIndexCountBytes];
  bool ok = fileSize >= (int64_t)kIndexCountBytes && readWhole(file, countBytes, sizeof countBytes);
  uint32_t count = ok ? little32(countBytes) : 0;
  uint64_t tableBytes = (uint64_t)count * kIndexEntryBytes;
  uint64_t rest = ok ? (uint64_t)(fileSize - (int64_t)kIndexCountBytes) : 0;
  ok = ok && count > 0 && tableBytes <= rest && rest - tableBytes <= (uint64_t)SIZE_MAX - 1;

  IndexEntry* entries = NULL;
  char* titles = NULL;
  size_t titleBytes = ok ? (size_t)(rest - tableBytes) : 0;
  if (ok) {
    entries = (IndexEntry*)historyAllocate((size_t)tableBytes);
    ok = entries && readWhole(file, entries, (size_t)tableBytes);
  }
  if (ok) {
    titles = (char*)historyAllocate(titleBytes > 0 ? titleBytes : 1);
    ok = titles && readWhole(file, titles, titleBytes);
  }
  pfFileClose(file);
  if (!ok) {
    free(entries);
    free(titles);
    return false;
  }
  decodeEntries(entries, count);
  index->count = count;
  index->entries = entries;
  index->titleArea = titles;
  index->titleAreaSize = titleBytes;
  return true;
}

void freeDayIndex(DayIndex* index) {
  free(index->entries);
  free(index->titleArea);
  index->count = 0;
  index->entries = NULL;
  index->titleArea = NULL;
  index->titleAreaSize = 0;
}
