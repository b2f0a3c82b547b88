/*
** The day index as the history viewer reads it: loading the whole index,
** walking the entries of one calendar day, and the key's day and year.
**
** The index is a file that users copy between machines, so nothing in it is
** trusted: the count is checked against the file's size before anything is
** allocated, and a title whose offset lies outside the title area, or that
** has no zero byte before the area's end, reads as an empty title.
**
** Plain procedural code: it is compiled into the viewer plug-in.
*/
#pragma once

#include <stddef.h>
#include <stdint.h>

struct IndexEntry {
  int32_t key;          /* year * 10000 + month * 100 + day */
  uint32_t titleOffset; /* from the start of the title area */
  int32_t recordOffset; /* first marker byte of the record in the data file */
  int32_t recordLength; /* bytes of the record in the data file */
};

struct DayIndex {
  uint32_t count;
  IndexEntry* entries;
  char* titleArea;
  size_t titleAreaSize;
};

/* Loads the whole index from a device file; false (and an empty index)
** when it cannot be opened or read, holds count 0, is too short for its
** entry table, or memory cannot be had. */
bool loadDayIndex(const char16_t* indexPath, DayIndex* index);
/* Frees both parts and leaves the index empty (count 0). */
void freeDayIndex(DayIndex* index);

int32_t dayKey(int32_t month, int32_t day);
/* Day part (month * 100 + day) and year part, the key taken as unsigned. */
uint32_t dayOfKey(int32_t key);
uint32_t yearOfKey(int32_t key);

/* The entry's title, or "" when the index does not hold a whole one. */
const char* dayEntryTitle(const DayIndex* index, const IndexEntry* entry);

/* Return false to stop the walk. */
typedef bool (*DayEntryVisitor)(const IndexEntry* entry, const char* title, void* context);

/* Visits the entries of one calendar day in index order, stopping at the
** first entry of a later day. Returns the number of entries visited. */
uint32_t forEachDayEntry(const DayIndex* index, int32_t month, int32_t day,
                         DayEntryVisitor visit, void* context);

/* Where the reading side takes its memory (malloc by default; freed with
** free). Tests replace it to make memory run out. */
typedef void* (*HistoryAllocator)(size_t bytes);
void setHistoryAllocator(HistoryAllocator allocate);
void* historyAllocate(size_t bytes);
