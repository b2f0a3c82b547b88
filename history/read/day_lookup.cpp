/*
** Keys and the walk over one calendar day's entries. Entries stand in day
** order, so the walk stops at the first entry of a later day; an entry of a
** day that no calendar has (month 13, say) stops every walk that reaches it.
*/
#include <string.h>

#include "read/day_index.h"

int32_t dayKey(int32_t month, int32_t day) { return month * 100 + day; }

uint32_t dayOfKey(int32_t key) { return (uint32_t)key % 10000u; }

uint32_t yearOfKey(int32_t key) { return (uint32_t)key / 10000u; }

const char* dayEntryTitle(const DayIndex* index, const IndexEntry* entry) {
  size_t offset = entry->titleOffset;
  if (offset >= index->titleAreaSize) return "";
  const char* title = index->titleArea + offset;
  if (!memchr(title, 0, index->titleAreaSize - offset)) return "";
  return title;
}

uint32_t forEachDayEntry(const DayIndex* index, int32_t month, int32_t day,
                         DayEntryVisitor visit, void* context) {
  int64_t wanted = dayKey(month, day);
  uint32_t visited = 0;
  for (uint32_t i = 0; i < index->count; ++i) {
    const IndexEntry* entry = &index->entries[i];
    int64_t d = dayOfKey(entry->key);
    if (d > wanted) break;
    if (d < wanted) continue;
    ++visited;
    if (!visit(entry, dayEntryTitle(index, entry), context)) break;
  }
  return visited;
}
