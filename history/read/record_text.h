/*
** One record's text, read from the data file by the offset and length that
** its index entry gives, and the body that follows its first line.
**
** Plain procedural code: it is compiled into the viewer plug-in.
*/
#pragma once

#include <stdint.h>

#include "read/day_index.h"

struct RecordText {
  char* bytes;    /* zero-terminated; the empty text when memory ran out */
  int32_t length; /* bytes before the terminator */
};

/* False: no text (the data file is missing or unreadable, or the entry's
** offset and length are negative, 0 or beyond the file's end).
** True: the record's bytes, or the empty text when memory for them could
** not be had. Free the text with freeRecordText. */
bool readRecordText(const char16_t* dataFilePath, const IndexEntry* entry, RecordText* text);
void freeRecordText(RecordText* text);

/* The part of a text after its first line feed, or null when the text holds
** none. *bodyLength receives its length. */
const char* recordBody(const char* text, int32_t length, int32_t* bodyLength);
