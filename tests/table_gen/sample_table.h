/*
** sample_table.h: record type of the lmTableGen test table (sample_table.tsv).
*/
#ifndef LUMENO_SAMPLE_TABLE_H
#define LUMENO_SAMPLE_TABLE_H

#include <stdint.h>

struct SampleRecord {
  int32_t key;
  const char16_t* name;
  const char16_t* note;
  const char16_t* extra;
};

constexpr int32_t sampleRecordCount = 5;

extern const SampleRecord sampleRecords[];

#endif
