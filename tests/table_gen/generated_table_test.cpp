/*
** generated_table_test.cpp: a table source compiled by lmTableGen into the
** program (sample_table.tsv): keys, decoded texts, and one shared copy of
** each distinct text.
*/
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "sample_table.h"

namespace {

std::u16string text(const char16_t* s) { return s; }

TEST(GeneratedTable, KeepsTheSourceOrderAndKeys) {
  const int32_t keys[] = {INT32_MIN, -5, 0, 17, INT32_MAX};
  ASSERT_EQ(sampleRecordCount, 5);
  for (int i = 0; i < sampleRecordCount; ++i) EXPECT_EQ(sampleRecords[i].key, keys[i]) << i;
}

TEST(GeneratedTable, DecodesEscapesAndCharactersBeyondTheBasicPlane) {
  EXPECT_EQ(text(sampleRecords[2].name), u"back\\slash");
  EXPECT_EQ(text(sampleRecords[2].note), u"tab\there");
  EXPECT_EQ(text(sampleRecords[2].extra), u"cr\rlf\n");
  EXPECT_EQ(text(sampleRecords[3].name), (std::u16string{0xD83D, 0xDE00, u' ', u'f', u'a', u'c', u'e'}));
  EXPECT_EQ(text(sampleRecords[1].name), u"宜");
}

TEST(GeneratedTable, StoresEachDistinctTextOnce) {
  const SampleRecord* r = sampleRecords;
  // "lowest" appears in four fields of three records.
  EXPECT_EQ(r[0].name, r[1].note);
  EXPECT_EQ(r[0].name, r[4].name);
  EXPECT_EQ(r[0].name, r[4].note);
  EXPECT_EQ(r[1].name, r[3].note);  // "宜"
  // Every empty field points at the one empty string.
  const char16_t* empties[] = {r[0].note, r[0].extra, r[1].extra, r[3].extra};
  for (const char16_t* e : empties) {
    EXPECT_EQ(e, r[0].note);
    EXPECT_EQ(*e, 0);
  }
  EXPECT_NE(r[4].extra, r[4].name);
}

}  // namespace
