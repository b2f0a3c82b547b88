/*
** day_keys_test.cpp: the keys of both almanac day tables.
**
** The plug-ins find a day by binary search and print the date from the key,
** so the keys must be real dates in strictly ascending order; the simplified
** table must cover every day of 2003..2007, the traditional table every day
** of 2005..2007 but exactly two.
*/
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "almanac_day.h"
#include "trad_almanac_day.h"

namespace {

using namespace std::chrono;

int32_t dateKeyOf(sys_days day) {
  const year_month_day date{day};
  return (static_cast<int32_t>(int{date.year()}) * 100 + static_cast<int32_t>(unsigned{date.month()})) * 100 +
         static_cast<int32_t>(unsigned{date.day()});
}

/* Every calendar day's key from..to inclusive. */
std::vector<int32_t> calendarKeys(year_month_day from, year_month_day to) {
  std::vector<int32_t> keys;
  for (sys_days day{from}; day <= sys_days{to}; day += days{1}) keys.push_back(dateKeyOf(day));
  return keys;
}

TEST(AlmanacDayKeys, OneRecordForEveryDayOf2003To2007) {
  const std::vector<int32_t> expected = calendarKeys(2003y / 1 / 1, 2007y / 12 / 31);
  ASSERT_EQ(expected.size(), 1826u);
  ASSERT_EQ(almanacDayCount, 1826);
  for (int32_t i = 0; i < almanacDayCount; ++i) {
    ASSERT_EQ(almanacDays[i].key, expected[static_cast<size_t>(i)]) << "index " << i;
  }
  EXPECT_EQ(almanacDays[0].key, 20030101);
  EXPECT_EQ(almanacDays[424].key, 20040229);
  EXPECT_EQ(almanacDays[1825].key, 20071231);
}

TEST(TradAlmanacDayKeys, EveryDayOf2005To2007ExceptTheTwoMissingOnes) {
  std::vector<int32_t> expected;
  for (const int32_t key : calendarKeys(2005y / 1 / 1, 2007y / 12 / 31)) {
    if (key != 20061231 && key != 20071207) expected.push_back(key);
  }
  ASSERT_EQ(expected.size(), 1093u);
  ASSERT_EQ(tradAlmanacDayCount, 1093);
  for (int32_t i = 0; i < tradAlmanacDayCount; ++i) {
    ASSERT_EQ(tradAlmanacDays[i].key, expected[static_cast<size_t>(i)]) << "index " << i;
  }
}

TEST(TradAlmanacDayKeys, GapsSitBetweenTheDocumentedIndices) {
  struct Case { int32_t index; int32_t key; };
  const Case cases[] = {
      {0, 20050101}, {728, 20061230}, {729, 20070101},
      {1068, 20071206}, {1069, 20071208}, {1092, 20071231},
  };
  for (const Case& c : cases) EXPECT_EQ(tradAlmanacDays[c.index].key, c.key) << "index " << c.index;
}

TEST(AlmanacDayKeys, KeysRiseStrictlyInBothTables) {
  for (int32_t i = 1; i < almanacDayCount; ++i) {
    ASSERT_LT(almanacDays[i - 1].key, almanacDays[i].key) << "index " << i;
  }
  for (int32_t i = 1; i < tradAlmanacDayCount; ++i) {
    ASSERT_LT(tradAlmanacDays[i - 1].key, tradAlmanacDays[i].key) << "index " << i;
  }
}

}  // namespace
