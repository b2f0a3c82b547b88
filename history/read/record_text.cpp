/*
** Reading one record: one seek and one read of exactly its length. The
** entry's offset and length are checked against the data file's size first,
** so a damaged entry yields no text instead of a huge allocation.
*/
#include <stdlib.h>
#include <string.h>

#include "pf/files.h"
#include "read/record_text.h"

static char gEmptyText[1] = {0};

static void setNoText(RecordText* text) {
  text->bytes = NULL;
  text->length = 0;
}

bool readRecordText(const char16_t* dataFilePath, const IndexEntry* entry, RecordText* text) {
  setNoText(text);
  int64_t offset = entry->recordOffset;
  int64_t length = entry->recordLength;
  if (offset < 0 || length <= 0) return false;
  PfFile* file = pfFileOpenW(dataFilePath, u"rb");
  if (!file) return false;
  int64_t size = pfFileSize(file);
  if (size < 0 || offset + length > size || pfFileSeek(file, offset, PF_SEEK_SET) != 0) {
    pfFileClose(file);
    return false;
  }
  char* bytes = (char*)historyAllocate((size_t)length + 1);
  if (!bytes) {
    pfFileClose(file);
    text->bytes = gEmptyText;
    return true;
  }
  bool whole = pfFileRead(bytes, 1, (size_t)length, file) == (size_t)length;
  pfFileClose(file);
  if (!whole) {
    free(bytes);
    return false;
  }
  bytes[length] = 0;
  text->bytes = bytes;
  text->length = (int32_t)length;
  return true;
}

void freeRecordText(RecordText* text) {
  if (text->bytes && text->bytes != gEmptyText) free(text->bytes);
  setNoText(text);
}

const char* recordBody(const char* text, int32_t length, int32_t* bodyLength) {
  *bodyLength = 0;
  if (!text || length <= 0) return NULL;
  const char* lf = (const char*)memchr(text, '\n', (size_t)length);
  if (!lf) return NULL;
  *bodyLength = (int32_t)(length - (lf + 1 - text));
  return lf + 1;
}
